#include "support/run_process.h"

#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <stdexcept>

namespace morvane::test {
namespace {

// The streams go through unnamed files rather than pipes: a child that writes a lot never waits
// for the test to read, and the test never has to juggle three streams at once.
int unnamedFile() {
    char name[] = "/tmp/morvane-test-XXXXXX";
    const int fd = ::mkstemp(name);
    if (fd < 0) throw std::runtime_error("mkstemp");
    ::unlink(name);
    return fd;
}

std::string readBack(int fd) {
    std::string text;
    char buffer[65536];
    ::lseek(fd, 0, SEEK_SET);
    for (ssize_t n; (n = ::read(fd, buffer, sizeof buffer)) > 0;) {
        text.append(buffer, static_cast<std::size_t>(n));
    }
    ::close(fd);
    return text;
}

}  // namespace

ProcessResult runProcess(const std::string& program, const std::vector<std::string>& args,
                         const std::string& input) {
    const int in = unnamedFile(), out = unnamedFile(), err = unnamedFile();
    if (::write(in, input.data(), input.size()) != static_cast<ssize_t>(input.size())) {
        throw std::runtime_error("write");
    }
    ::lseek(in, 0, SEEK_SET);
    const pid_t pid = ::fork();
    if (pid < 0) throw std::runtime_error("fork");
    if (pid == 0) {
        // A child that outlives its test, or writes without end, must not fill the disk.
        ::prctl(PR_SET_PDEATHSIG, SIGKILL);
        const rlimit fileSize{64 << 20, 64 << 20};
        ::setrlimit(RLIMIT_FSIZE, &fileSize);
        ::dup2(in, 0);
        ::dup2(out, 1);
        ::dup2(err, 2);
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const auto& a : args) argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        ::execv(program.c_str(), argv.data());
        _exit(127);
    }
    ::close(in);
    int status = 0;
    ::waitpid(pid, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, readBack(out), readBack(err)};
}

}  // namespace morvane::test
