#include "app/clipboard/clipboard_handoff.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <string_view>
#include <vector>

extern char** environ;

namespace morvane {

namespace {

class Fd {
  public:
    explicit Fd(int fd = -1) : fd_(fd) {}
    ~Fd() { reset(); }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return fd_; }
    void reset() {
        if (fd_ >= 0) ::close(fd_);
        fd_ = -1;
    }

  private:
    int fd_;
};

bool writeAll(int fd, std::string_view data) {
    while (!data.empty()) {
        const ssize_t n = ::write(fd, data.data(), data.size());
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        data.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// The keeper's first process forks the holder and exits at once; reap it without hanging.
void reap(pid_t pid) {
    for (int i = 0; i < 200; ++i) {
        const pid_t r = ::waitpid(pid, nullptr, WNOHANG);
        if (r == pid || (r < 0 && errno != EINTR)) return;
        ::usleep(10'000);
    }
}

}  // namespace

std::optional<pid_t> handClipboardToKeeper(const std::string& keeperPath, const std::string& text,
                                           std::chrono::milliseconds wait,
                                           std::chrono::seconds lifetime) {
    int in[2], ready[2];
    if (::pipe2(in, O_CLOEXEC) != 0) return std::nullopt;
    Fd inRead(in[0]), inWrite(in[1]);
    if (::pipe2(ready, O_CLOEXEC) != 0) return std::nullopt;
    Fd readyRead(ready[0]), readyWrite(ready[1]);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, inRead.get(), STDIN_FILENO);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, readyWrite.get(), 3);
    posix_spawnattr_t attr;
    posix_spawnattr_init(&attr);
    posix_spawnattr_setflags(&attr, POSIX_SPAWN_SETSID);

    const std::string lifetimeText = std::to_string(lifetime.count());
    std::vector<char*> argv{const_cast<char*>(keeperPath.c_str()),
                            const_cast<char*>("--ready-fd"),
                            const_cast<char*>("3"),
                            const_cast<char*>("--lifetime"),
                            const_cast<char*>(lifetimeText.c_str()),
                            nullptr};
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, keeperPath.c_str(), &actions, &attr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    posix_spawnattr_destroy(&attr);
    if (rc != 0) return std::nullopt;
    inRead.reset();
    readyWrite.reset();

    // A keeper that dies early must not kill us with SIGPIPE.
    struct sigaction ignore {
    }, previous{};
    ignore.sa_handler = SIG_IGN;
    ::sigaction(SIGPIPE, &ignore, &previous);
    const bool sent = writeAll(inWrite.get(), text);
    ::sigaction(SIGPIPE, &previous, nullptr);
    inWrite.reset();
    reap(pid);
    if (!sent) return std::nullopt;

    std::string answer;
    const auto deadline = std::chrono::steady_clock::now() + wait;
    while (answer.find('\n') == std::string::npos && answer.size() < 32) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return std::nullopt;
        pollfd pfd{readyRead.get(), POLLIN, 0};
        const int p = ::poll(&pfd, 1, static_cast<int>(left.count()));
        if (p < 0 && errno == EINTR) continue;
        if (p <= 0) return std::nullopt;
        char buffer[32];
        const ssize_t n = ::read(readyRead.get(), buffer, sizeof buffer);
        if (n <= 0) return std::nullopt;  // the keeper gave up without owning the clipboard
        answer.append(buffer, static_cast<std::size_t>(n));
    }
    pid_t holder = 0;
    const auto end = answer.find('\n');
    if (end == std::string::npos) return std::nullopt;
    const auto [ptr, ec] = std::from_chars(answer.data(), answer.data() + end, holder);
    if (ec != std::errc() || holder <= 0) return std::nullopt;
    return holder;
}

}  // namespace morvane
