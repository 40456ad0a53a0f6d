#include "readers/reader_host_client.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <spawn.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>

extern char** environ;

namespace morvane {

namespace {

// A supervisor that has not ended its host's tree by then is killed outright.
constexpr int kSupervisorGraceMs = 1000;

// Spawns the host with one end of the channel as its channel descriptor; what the library
// prints goes nowhere near the window's own output.
pid_t spawnHost(const std::filesystem::path& program, const std::filesystem::path& folder,
                int channel) {
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    posix_spawn_file_actions_adddup2(&actions, channel, kHostChannelFd);
    char* argv[] = {const_cast<char*>(program.c_str()), const_cast<char*>(folder.c_str()),
                    nullptr};
    pid_t pid = -1;
    const int rc = ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv, environ);
    posix_spawn_file_actions_destroy(&actions);
    return rc == 0 ? pid : -1;
}

// The channel closed, the supervisor ends the host and all it started, then itself.
void awaitSupervisor(pid_t supervisor) {
    pollfd ended{pidfd(supervisor), POLLIN, 0};  // without a pidfd, poll only waits
    if (::poll(&ended, 1, kSupervisorGraceMs) <= 0) ::kill(supervisor, SIGKILL);
    ::close(ended.fd);
    while (::waitpid(supervisor, nullptr, 0) < 0 && errno == EINTR) {
    }
}

}  // namespace

ReaderHostClient::ReaderHostClient(std::filesystem::path hostProgram,
                                   std::filesystem::path programFolder,
                                   std::chrono::milliseconds timeout)
    : hostProgram_(std::move(hostProgram)),
      programFolder_(std::move(programFolder)),
      timeout_(timeout),
      interrupted_(::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) {}

ReaderHostClient::~ReaderHostClient() {
    stop();
    ::close(interrupted_);
}

void ReaderHostClient::interrupt() {
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto n = ::write(interrupted_, &one, sizeof one);
}

void ReaderHostClient::beginStep() {
    hostFailed_ = false;
    std::uint64_t pending = 0;  // an interrupt meant for an earlier step
    [[maybe_unused]] const auto n = ::read(interrupted_, &pending, sizeof pending);
    pollfd idle{channel_, POLLIN, 0};
    if (channel_ >= 0 && ::poll(&idle, 1, 0) != 0) stop();
}

bool ReaderHostClient::start() {
    // Never a program found through the current directory.
    if (!hostProgram_.is_absolute()) return false;
    int ends[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, ends) != 0) return false;
    pid_ = spawnHost(hostProgram_, programFolder_, ends[1]);
    ::close(ends[1]);
    channel_ = ends[0];
    if (pid_ < 0) stop();
    return pid_ > 0;
}

// A host that failed may be stuck inside the library: it is ended, never waited on politely.
void ReaderHostClient::stop() {
    ::close(channel_);
    channel_ = -1;
    if (pid_ > 0) awaitSupervisor(pid_);
    pid_ = -1;
}

// A whole reply and not a byte more: anything after it answers a call nobody made.
bool ReaderHostClient::receive(ReplyFrame& frame) {
    const auto deadline = std::chrono::steady_clock::now() + timeout_;
    std::size_t got = 0;
    while (got < frame.size()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) return false;
        pollfd pfd[2] = {{channel_, POLLIN, 0}, {interrupted_, POLLIN, 0}};
        const int p = ::poll(pfd, 2, static_cast<int>(left.count()));
        if (p < 0 && errno == EINTR) continue;
        if (p <= 0 || pfd[1].revents != 0) return false;
        const ssize_t n = ::recv(channel_, frame.data() + got, frame.size() - got, 0);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;  // the host died
        got += static_cast<std::size_t>(n);
    }
    std::uint8_t more = 0;
    return ::recv(channel_, &more, 1, MSG_PEEK | MSG_DONTWAIT) <= 0;
}

bool ReaderHostClient::send(const RequestFrame& frame) {
    // A whole frame fits the socket's buffer; MSG_NOSIGNAL keeps a dead host from killing us.
    ssize_t n = -1;
    do {
        n = ::send(channel_, frame.data(), frame.size(), MSG_NOSIGNAL);
    } while (n < 0 && errno == EINTR);
    return n == static_cast<ssize_t>(frame.size());
}

std::optional<HostReply> ReaderHostClient::exchange(HostRequest request) {
    request.sequence = ++sequence_;
    if (!send(encodeRequest(request))) return std::nullopt;
    ReplyFrame in{};
    if (!receive(in)) return std::nullopt;
    const auto reply = decodeReply(in);
    if (!reply || reply->call != request.call || reply->sequence != request.sequence) {
        return std::nullopt;
    }
    return reply;
}

std::optional<HostReply> ReaderHostClient::call(const HostRequest& request) {
    if (hostFailed_) return std::nullopt;
    if (pid_ < 0 && !start()) {
        hostFailed_ = true;
        return std::nullopt;
    }
    const auto reply = exchange(request);
    if (!reply) {
        stop();
        hostFailed_ = true;
        return std::nullopt;
    }
    if (reply->status != CallStatus::Done) return std::nullopt;
    return reply;
}

std::int16_t ReaderHostClient::result(HostCall which, std::int16_t argument) {
    HostRequest request;
    request.call = which;
    request.args[0] = argument;
    const auto reply = call(request);
    return reply ? reply->result : 0;
}

std::int16_t ReaderHostClient::SetDevTypeSrch(std::int16_t searchType) {
    return result(HostCall::SetDevTypeSrch, searchType);
}
std::int16_t ReaderHostClient::SetConnectProduct(std::int16_t product) {
    return result(HostCall::SetConnectProduct, product);
}
std::int16_t ReaderHostClient::USBConnect(std::int32_t& deviceValue) {
    const auto reply = call(HostRequest{.call = HostCall::USBConnect});
    if (!reply) return 0;
    deviceValue = reply->deviceValue;
    return reply->result;
}
std::int16_t ReaderHostClient::ReadCfg() { return result(HostCall::ReadCfg); }
std::int16_t ReaderHostClient::GetDevCnt() { return result(HostCall::GetDevCnt); }
std::int16_t ReaderHostClient::SetActDev(std::int16_t index) {
    return result(HostCall::SetActDev, index);
}
std::int16_t ReaderHostClient::GetActDev() { return result(HostCall::GetActDev); }
std::int16_t ReaderHostClient::GetLUID() { return result(HostCall::GetLUID); }
std::int16_t ReaderHostClient::SetLUID(std::int16_t luid) { return result(HostCall::SetLUID, luid); }
std::int16_t ReaderHostClient::setRecord(RecordId id, const ParameterRecord& record) {
    const auto reply =
        call(HostRequest{.call = HostCall::SetRecord, .record = id, .args = record.field});
    return reply ? reply->result : 0;
}
std::int16_t ReaderHostClient::WriteCfg() { return result(HostCall::WriteCfg); }
std::int16_t ReaderHostClient::GetActiveID(CardBuffer& buffer) {
    const auto reply = call(HostRequest{.call = HostCall::GetActiveID});
    if (!reply) return 0;
    buffer = reply->card;
    return reply->result;
}

}  // namespace morvane
