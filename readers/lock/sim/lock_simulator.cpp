#include "readers/lock/sim/lock_simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string_view>
#include <thread>

namespace morvane::sim {
namespace {

using Clock = std::chrono::steady_clock;

// Enough to overrun any sane answer bound many times over, yet an end if nobody cancels.
constexpr std::size_t kEndlessLimit = 1 << 20;
constexpr std::string_view kEndlessChunk =
    "0000000000000000000000000000000000000000000000000000000000000000";
constexpr std::string_view kGarbage{
    "\x01\xfe\x00"
    "CARD\x07\x1b[0m\r\n",
    14};

struct ScheduledAnswer {
    Clock::time_point due;
    std::string bytes;
    bool endless = false;
    bool hangUp = false;
};

class Lock {
  public:
    explicit Lock(const SimulatorOptions& options) : options_(options) {}

    int run();

  private:
    bool openTerminal();
    void takeInput(std::string_view bytes);
    void takeRequest(const std::string& line);
    void sendDue();
    bool flushOutput();
    int pollTimeout() const;
    void report(const std::string& what);

    const SimulatorOptions& options_;
    int master_ = -1;
    int slave_ = -1;
    std::string inbound_;
    std::string outbound_;
    std::optional<ScheduledAnswer> scheduled_;
    bool streaming_ = false;
    std::size_t streamed_ = 0;
};

bool Lock::openTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) return false;
    const char* path = ptsname(master_);
    if (path == nullptr) return false;
    // Holding the terminal side open keeps the line up while the program opens and closes the
    // port between requests, as a cabled lock would.
    slave_ = open(path, O_RDWR | O_NOCTTY);
    if (slave_ < 0) return false;
    termios settings{};
    if (tcgetattr(slave_, &settings) != 0) return false;
    cfmakeraw(&settings);
    if (tcsetattr(slave_, TCSANOW, &settings) != 0) return false;
    if (fcntl(master_, F_SETFL, fcntl(master_, F_GETFL) | O_NONBLOCK) != 0) return false;
    std::printf("%s\n", path);
    std::fflush(stdout);
    return true;
}

void Lock::report(const std::string& what) {
    std::printf("%s\n", what.c_str());
    std::fflush(stdout);
}

void Lock::takeInput(std::string_view bytes) {
    inbound_.append(bytes);
    for (std::size_t end; (end = inbound_.find('\n')) != std::string::npos;) {
        std::string line = inbound_.substr(0, end);
        inbound_.erase(0, end + 1);
        if (!line.empty() && line.back() == '\r') line.pop_back();
        report("received: " + line);
        takeRequest(line);
    }
}

void Lock::takeRequest(const std::string& line) {
    if (line == "CANCEL") {
        scheduled_.reset();
        outbound_.clear();
        streaming_ = false;
        return;
    }
    const bool read = line.starts_with("READ ");
    if (!read && !line.starts_with("INFO ")) return;

    ScheduledAnswer answer;
    answer.due = Clock::now() + std::chrono::milliseconds(options_.delayMilliseconds);
    switch (options_.scenario) {
        case Scenario::Answer:
            answer.bytes =
                read ? "CARD " + options_.cardData + "\r\n" : "INFO " + options_.lockInfo + "\r\n";
            break;
        case Scenario::Silent:
            return;
        case Scenario::LockTimeout:
            answer.bytes = "TIMEOUT\r\n";
            break;
        case Scenario::Error:
            answer.bytes = "ERROR " + std::to_string(options_.errorCode) +
                           (options_.errorText.empty() ? "" : " " + options_.errorText) + "\r\n";
            break;
        case Scenario::Garbage:
            answer.bytes = std::string(kGarbage);
            break;
        case Scenario::Endless:
            answer.bytes = "CARD ";
            answer.endless = true;
            break;
        case Scenario::HangUp:
            answer.bytes = "CARD 00000006";
            answer.hangUp = true;
            break;
    }
    scheduled_ = answer;
}

int Lock::pollTimeout() const {
    if (!scheduled_) return -1;
    const auto left = std::chrono::ceil<std::chrono::milliseconds>(scheduled_->due - Clock::now());
    return static_cast<int>(std::max<long long>(0, left.count()));
}

void Lock::sendDue() {
    if (!scheduled_ || Clock::now() < scheduled_->due) return;
    outbound_ += scheduled_->bytes;
    streaming_ = scheduled_->endless;
    streamed_ = 0;
    if (scheduled_->hangUp) {
        flushOutput();
        // Give the half answer a moment on the line, then drop it as a lock losing power would.
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
        report("hung up");
        close(slave_);
        close(master_);
        std::exit(0);
    }
    scheduled_.reset();
}

bool Lock::flushOutput() {
    if (streaming_ && outbound_.empty() && streamed_ < kEndlessLimit) {
        outbound_ = kEndlessChunk;
        streamed_ += kEndlessChunk.size();
    }
    while (!outbound_.empty()) {
        const ssize_t n = write(master_, outbound_.data(), outbound_.size());
        if (n < 0) return errno == EAGAIN || errno == EINTR;
        outbound_.erase(0, static_cast<std::size_t>(n));
    }
    return true;
}

int Lock::run() {
    if (!openTerminal()) {
        std::perror("morvane-lock-sim: pseudo-terminal");
        return 1;
    }
    for (;;) {
        const bool wantOut = !outbound_.empty() || (streaming_ && streamed_ < kEndlessLimit);
        pollfd fds[1] = {{master_, static_cast<short>(POLLIN | (wantOut ? POLLOUT : 0)), 0}};
        int timeout = pollTimeout();
        if (wantOut && (timeout < 0 || timeout > 10)) timeout = 10;
        if (poll(fds, 1, timeout) < 0 && errno != EINTR) return 1;
        if ((fds[0].revents & POLLIN) != 0) {
            char buffer[512];
            const ssize_t n = read(master_, buffer, sizeof buffer);
            if (n > 0) takeInput(std::string_view(buffer, static_cast<std::size_t>(n)));
        }
        sendDue();
        if (!flushOutput()) return 1;
    }
}

}  // namespace

int runLockSimulator(const SimulatorOptions& options) {
    signal(SIGPIPE, SIG_IGN);
    // A test that dies must not leave its lock behind.
    prctl(PR_SET_PDEATHSIG, SIGTERM);
    return Lock(options).run();
}

}  // namespace morvane::sim
