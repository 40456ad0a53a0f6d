#include "cli/line_io.h"

#include <unistd.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

namespace morvane::cli {

namespace {

// Cuts what each read brings into lines. A line split between reads is kept until its end
// comes: its bytes, or only its first kMaxLineBytes and the knowledge that it is too long, the
// rest being skipped up to its line feed.
class LineAssembler {
  public:
    LineAssembler(const LineHandler& onLine, std::size_t& counted)
        : onLine_(onLine), counted_(counted) {}

    void feed(std::string_view bytes) {
        for (;;) {
            const auto end = bytes.find('\n');
            if (end == std::string_view::npos) {
                take(bytes);
                return;
            }
            // A whole line inside the bytes just read is handed on where it lies.
            if (pending_.empty() && !tooLong_ && end <= kMaxLineBytes) {
                emit(bytes.substr(0, end), false);
            } else {
                take(bytes.substr(0, end));
                emitPending();
            }
            bytes.remove_prefix(end + 1);
        }
    }
    void finish() {
        if (!pending_.empty() || tooLong_) emitPending();
    }

  private:
    void take(std::string_view part) {
        const std::size_t room = kMaxLineBytes - std::min(pending_.size(), kMaxLineBytes);
        if (part.size() > room) tooLong_ = true;
        pending_.append(part.substr(0, room));
    }
    void emit(std::string_view text, bool tooLong) {
        if (!tooLong && !text.empty() && text.back() == '\r') text.remove_suffix(1);
        onLine_(InputLine{text, tooLong, ++counted_, false});
    }
    void emitPending() {
        emit(pending_, tooLong_);
        pending_.clear();
        tooLong_ = false;
    }

    const LineHandler& onLine_;
    std::size_t& counted_;
    std::string pending_;
    bool tooLong_ = false;
};

}  // namespace

void OutputBuffer::flush() {
    if (error_ == 0 && !buffer_.empty() &&
        std::fwrite(buffer_.data(), 1, buffer_.size(), stream_) != buffer_.size()) {
        error_ = errno != 0 ? errno : EIO;
    }
    buffer_.clear();
    if (error_ == 0 && std::fflush(stream_) != 0) error_ = errno != 0 ? errno : EIO;
}

int forEachLine(int fd, const LineHandler& onLine, const BeforeWait& beforeWait,
                std::size_t* counted) {
    std::array<char, 1 << 16> buffer{};
    std::size_t none = 0;
    LineAssembler lines(onLine, counted != nullptr ? *counted : none);
    int error = 0;
    for (;;) {
        const ssize_t got = ::read(fd, buffer.data(), buffer.size());
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) error = errno;
        if (got <= 0) break;
        lines.feed(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
        if (!beforeWait()) return 0;
    }
    lines.finish();
    beforeWait();
    return error;
}

int forEachInput(const std::vector<std::string>& operands, const LineHandler& onLine,
                 const BeforeWait& beforeWait) {
    std::size_t counted = 0;
    if (operands.empty()) return forEachLine(STDIN_FILENO, onLine, beforeWait, &counted);
    int error = 0;
    for (std::size_t i = 0; i < operands.size(); ++i) {
        if (operands[i] == "-") {
            const int e = forEachLine(STDIN_FILENO, onLine, beforeWait, &counted);
            if (error == 0) error = e;
        } else {
            onLine(InputLine{operands[i], false, i + 1, true});
        }
    }
    return error;
}

std::string tooLongMessage() {
    return "a line longer than " + std::to_string(kMaxLineBytes) + " bytes was refused";
}

// Enough of an over-long input to recognise it by.
constexpr std::size_t kShownBytes = 40;

std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < kShownBytes; ++i) {
        appendEscaped(out, static_cast<unsigned char>(text[i]));
    }
    out += text.size() > kShownBytes ? "\"..." : "\"";
    return out;
}

std::string inputPlace(const InputLine& line) {
    const char* source = line.inRange ? "range hotstamp " : line.argument ? "argument " : "line ";
    return source + std::to_string(line.number) + ": " + quoted(line.text);
}

bool reportIoErrors(int readError, const OutputBuffer& out) {
    if (readError != 0) {
        std::fprintf(stderr, "morvane-cli: cannot read standard input: %s\n",
                     std::strerror(readError));
    }
    if (out.error() != 0 && out.error() != EPIPE) {
        std::fprintf(stderr, "morvane-cli: cannot write the output: %s\n",
                     std::strerror(out.error()));
    }
    return readError == 0 && out.error() == 0;
}

}  // namespace morvane::cli
