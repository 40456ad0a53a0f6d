#include "cli/line_io.h"

#include <unistd.h>

#include <cerrno>
#include <vector>

namespace morvane::cli {

void OutputBuffer::flush() {
    if (!buffer_.empty()) {
        std::fwrite(buffer_.data(), 1, buffer_.size(), stream_);
        buffer_.clear();
    }
    std::fflush(stream_);
}

void forEachLine(int fd, const std::function<void(std::string_view)>& onLine,
                 const std::function<void()>& beforeWait) {
    std::vector<char> buffer(1 << 16);
    std::size_t kept = 0;  // bytes of an unfinished line at the front of the buffer
    const auto emit = [&](std::string_view line) {
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        onLine(line);
    };
    for (;;) {
        if (kept == buffer.size()) buffer.resize(buffer.size() * 2);  // one very long line
        const ssize_t got = ::read(fd, buffer.data() + kept, buffer.size() - kept);
        if (got < 0 && errno == EINTR) continue;
        if (got <= 0) break;
        const std::size_t end = kept + static_cast<std::size_t>(got);
        std::size_t start = 0;
        for (std::size_t i = kept; i < end; ++i) {
            if (buffer[i] == '\n') {
                emit(std::string_view(buffer.data() + start, i - start));
                start = i + 1;
            }
        }
        kept = end - start;
        if (kept > 0 && start > 0)
            std::copy(buffer.begin() + static_cast<std::ptrdiff_t>(start),
                      buffer.begin() + static_cast<std::ptrdiff_t>(end), buffer.begin());
        beforeWait();
    }
    if (kept > 0) emit(std::string_view(buffer.data(), kept));
    beforeWait();
}

}  // namespace morvane::cli
