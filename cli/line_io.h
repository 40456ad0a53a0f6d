#pragma once

#include <cstdio>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "formats/csv_text.h"
#include "formats/card_data_reason.h"

// Fast line-at-a-time I/O for batches: a million lines should cost milliseconds, not seconds,
// yet a person typing at a terminal still sees each answer as soon as the line is complete.
namespace morvane::cli {

// Lines longer than this are no hotstamp or card data; they are refused unread, so that one
// huge line cannot take the memory.
inline constexpr std::size_t kMaxLineBytes = 4096;

// Buffered output on a C stream, flushed when large and whenever asked. A failed write is
// remembered, and nothing more is written after it.
class OutputBuffer {
  public:
    // With `crlf` every line ends with a carriage return and a line feed, as CSV has it.
    explicit OutputBuffer(std::FILE* stream, bool crlf = false) : stream_(stream), crlf_(crlf) {}
    ~OutputBuffer() { flush(); }
    OutputBuffer(const OutputBuffer&) = delete;
    OutputBuffer& operator=(const OutputBuffer&) = delete;

    void line(std::string_view text) {
        buffer_.append(text);
        end();
        if (buffer_.size() >= kFlushAt) flush();
    }
    // A line written straight into the buffer by `write(std::string&)`.
    template <typename Write>
    void lineWith(Write&& write) {
        write(buffer_);
        end();
        if (buffer_.size() >= kFlushAt) flush();
    }
    void flush();
    // The system's reason for the first failed write; 0 while every write succeeded.
    int error() const { return error_; }

  private:
    void end() {
        if (crlf_) buffer_.push_back('\r');
        buffer_.push_back('\n');
    }

    static constexpr std::size_t kFlushAt = 1 << 16;
    std::FILE* stream_;
    bool crlf_;
    std::string buffer_;
    int error_ = 0;
};

// One input line without its line feed and without one trailing carriage return. An over-long
// line comes as its first kMaxLineBytes bytes with `tooLong` set.
struct InputLine {
    std::string_view text;
    bool tooLong = false;
    std::size_t number = 0;  // its line of standard input, or its position among the arguments
    bool argument = false;
    bool inRange = false;  // a hotstamp of `convert --range`, numbered from the range's first
};

// Where a message's input came from, and what it was: `line 3: "70000"`, `argument 2: "x"`,
// `range hotstamp 5: "104"`.
std::string inputPlace(const InputLine& line);

// The text in quotes, so that blanks show, with control and non-ASCII bytes escaped ("\x01")
// so that nothing reaches a terminal that it might act on; cut after 40 bytes ("...").
std::string quoted(std::string_view text);
using morvane::appendEscaped;


using LineHandler = std::function<void(const InputLine&)>;

// Runs whenever all input read so far is handled, so that answers reach an interactive reader
// before the next read blocks; false stops the reading (nobody takes the answers any more).
using BeforeWait = std::function<bool()>;

// Calls `onLine` for each line of the file descriptor, numbered on from `counted` lines.
// Returns 0, or the system's reason when reading failed.
int forEachLine(int fd, const LineHandler& onLine, const BeforeWait& beforeWait,
                std::size_t* counted = nullptr);

// The command's operands one by one, where none or "-" stands for the lines of standard input.
// Returns 0, or the system's reason when reading standard input failed.
int forEachInput(const std::vector<std::string>& operands, const LineHandler& onLine,
                 const BeforeWait& beforeWait);

// What standard error says about an over-long line, after its place.
std::string tooLongMessage();

// The last words of a command: reports a failed read or write on standard error, except a
// pipe its reader closed, which ends the command quietly. True when nothing failed.
bool reportIoErrors(int readError, const OutputBuffer& out);

}  // namespace morvane::cli
