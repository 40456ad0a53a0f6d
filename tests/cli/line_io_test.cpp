#include "cli/line_io.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <string>
#include <vector>

namespace morvane::cli {
namespace {

// Each piece reaches the reader in a read of its own: the next one is written only once the
// line before it was handed on, so a short read follows a long one.
std::vector<std::string> linesFrom(const std::vector<std::string>& pieces) {
    int fds[2];
    EXPECT_EQ(::pipe(fds), 0);
    std::size_t next = 0;
    const auto writeNext = [&] {
        if (next < pieces.size()) {
            EXPECT_EQ(::write(fds[1], pieces[next].data(), pieces[next].size()),
                      static_cast<ssize_t>(pieces[next].size()));
            ++next;
        }
        if (next == pieces.size()) ::close(fds[1]);
        return true;
    };
    writeNext();
    std::vector<std::string> lines;
    const int error = forEachLine(
        fds[0],
        [&](const InputLine& line) {
            lines.push_back(std::string(line.text) + (line.tooLong ? " (too long)" : ""));
        },
        writeNext);
    ::close(fds[0]);
    EXPECT_EQ(error, 0);
    return lines;
}

// An overlong line is cut across reads; a lone carriage return at the end is part of the line.
TEST(ForEachLine, SeesOnlyTheBytesOfEachReadAndCutsOverlongLines) {
    const std::string x(3000, 'x'), y(kMaxLineBytes, 'y');
    EXPECT_EQ(linesFrom({"first line\nsecond\n", "ab", "c\r\n", "\r\n", x, x + "\nok\n", y + "\r"}),
              (std::vector<std::string>{"first line", "second", "abc", "",
                                        std::string(kMaxLineBytes, 'x') + " (too long)", "ok",
                                        y + " (too long)"}));
}

}  // namespace
}  // namespace morvane::cli
