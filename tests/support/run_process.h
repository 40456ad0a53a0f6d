#pragma once

#include <string>
#include <vector>

namespace morvane::test {

struct ProcessResult {
    int exitCode = -1;  // -1 when the process did not exit normally
    std::string out;
    std::string err;
};

// Runs a program with the given arguments, feeding `input` on its standard input, and collects
// both output streams. No shell is involved.
ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input = {});

}  // namespace morvane::test
