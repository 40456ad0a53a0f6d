#include "support/xvfb.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>

namespace morvane::test {

XvfbServer::XvfbServer() {
    int fds[2];
    if (::pipe(fds) != 0) return;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::dup2(fds[1], 3);
        const int devnull = ::open("/dev/null", O_RDWR);
        for (int fd : {0, 1, 2}) ::dup2(devnull, fd);
        ::execlp("Xvfb", "Xvfb", "-displayfd", "3", "-nolisten", "tcp", "-screen", "0",
                 "1280x1024x24", static_cast<char*>(nullptr));
        _exit(127);
    }
    ::close(fds[1]);
    std::string number;
    for (;;) {
        pollfd pfd{fds[0], POLLIN, 0};
        if (::poll(&pfd, 1, 10'000) <= 0) break;
        char c;
        if (::read(fds[0], &c, 1) != 1 || c == '\n') break;
        number.push_back(c);
    }
    ::close(fds[0]);
    if (number.empty()) return;
    display_ = ":" + number;
    ::setenv("DISPLAY", display_.c_str(), 1);
    ::unsetenv("WAYLAND_DISPLAY");
}

XvfbServer::~XvfbServer() {
    if (pid_ > 0) {
        ::kill(pid_, SIGTERM);
        ::waitpid(pid_, nullptr, 0);
    }
}

}  // namespace morvane::test
