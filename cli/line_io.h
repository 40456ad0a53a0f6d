#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>

// Fast line-at-a-time I/O for batches: a million lines should cost milliseconds, not seconds,
// yet a person typing at a terminal still sees each answer as soon as the line is complete.
namespace morvane::cli {

// Buffered output on a C stream, flushed when large and whenever asked.
class OutputBuffer {
  public:
    explicit OutputBuffer(std::FILE* stream) : stream_(stream) {}
    ~OutputBuffer() { flush(); }
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    void line(std::string_view text) {
        buffer_.append(text);
        buffer_.push_back('\n');
        if (buffer_.size() >= kFlushAt) flush();
    }
    void flush();

  private:
    static constexpr std::size_t kFlushAt = 1 << 16;
    std::FILE* stream_;
    std::string buffer_;
};

// Calls `onLine` for each line of the file descriptor, without its line feed and without one
// trailing carriage return. `beforeWait` runs whenever all input read so far is handled, so
// answers reach an interactive reader before the next read blocks.
void forEachLine(int fd, const std::function<void(std::string_view)>& onLine,
                 const std::function<void()>& beforeWait);

}  // namespace morvane::cli
