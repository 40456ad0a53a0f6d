#include "readers/host/host_supervisor.h"

#include <dirent.h>
#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <string>
#include <vector>

#include "readers/host_protocol.h"

namespace morvane {

namespace {

// The signals a terminal or a session sends to the window's group: the supervisor outlives them
// and ends the host when the window itself is gone.
constexpr int kEndSignals[] = {SIGHUP, SIGINT, SIGQUIT, SIGTERM};

std::vector<pid_t> ownChildren() {
    const std::string self = std::to_string(::getpid());
    std::ifstream list("/proc/" + self + "/task/" + self + "/children");
    std::vector<pid_t> children;
    for (pid_t child = 0; list >> child;) children.push_back(child);
    return children;
}

// As subreaper the supervisor inherits every orphan below it, so killing its children until
// none is left ends the host's whole tree, however far a daemon wandered from the host's group.
[[noreturn]] void endEverything(pid_t host) {
    ::kill(-host, SIGKILL);
    for (;;) {
        for (const pid_t child : ownChildren()) ::kill(child, SIGKILL);
        if (::wait(nullptr) < 0) ::_exit(0);  // none left: no handler can interrupt it
    }
}

// The window closing its end of the channel (or dying) hangs it up; the host ending wakes the
// host's pidfd. The supervisor never reads the channel, so requests do not wake it.
[[noreturn]] void supervise(pid_t host) {
    pollfd watch[] = {{kHostChannelFd, 0, 0}, {pidfd(host), POLLIN, 0}};
    if (watch[1].fd >= 0) ::poll(watch, 2, -1);
    endEverything(host);
}

bool standAlone(pid_t supervisor) {
    if (::setsid() < 0) return false;
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != supervisor) return false;
    for (const int s : kEndSignals) ::signal(s, SIG_DFL);
    const rlimit memory{kHostAddressSpace, kHostAddressSpace};
    return ::fcntl(kHostChannelFd, F_SETFD, FD_CLOEXEC) == 0 &&
           ::setrlimit(RLIMIT_AS, &memory) == 0;
}

}  // namespace

bool superviseHost() {
    for (const int s : kEndSignals) ::signal(s, SIG_IGN);
    // Descriptors the window inherited from its own caller never reach the library.
    if (::close_range(kHostChannelFd + 1, ~0U, 0) != 0) return false;
    if (::prctl(PR_SET_CHILD_SUBREAPER, 1) != 0) return false;
    const pid_t supervisor = ::getpid();
    const pid_t host = ::fork();
    if (host < 0) return false;
    if (host > 0) supervise(host);
    return standAlone(supervisor);
}

}  // namespace morvane
