// morvane-reader-host: runs the pcProx reader library for the window in a process of its own,
// so that a library that crashes, hangs, signals or writes where it should not costs one reader
// step, never the window or what the operator typed.
//
//   morvane-reader-host PROGRAM_FOLDER   (requests arrive on, and replies leave by, the channel
//                                         descriptor of readers/host_protocol.h)
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "process/standard_streams.h"
#include "readers/host/host_supervisor.h"
#include "readers/host/library_calls.h"

namespace {

using morvane::kHostChannelFd;

template <std::size_t N>
bool readFrame(std::array<std::uint8_t, N>& frame) {
    std::size_t got = 0;
    while (got < N) {
        const ssize_t n = ::read(kHostChannelFd, frame.data() + got, N - got);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        got += static_cast<std::size_t>(n);
    }
    return true;
}

template <std::size_t N>
bool writeFrame(const std::array<std::uint8_t, N>& frame) {
    std::size_t sent = 0;
    while (sent < N) {
        const ssize_t n = ::write(kHostChannelFd, frame.data() + sent, N - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

// The window closing its end, or a request that makes no sense, ends the service.
int serve(const morvane::PcProxEntryPoints* library) {
    const pid_t host = ::getpid();
    morvane::RequestFrame frame;
    while (readFrame(frame)) {
        const auto request = morvane::decodeRequest(frame);
        if (!request) return 1;
        const morvane::HostReply reply = morvane::callLibrary(library, *request);
        // A library that forked during the call returns twice; only the host itself answers.
        if (::getpid() != host) ::_exit(0);
        if (!writeFrame(morvane::encodeReply(reply))) return 1;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (!morvane::openClosedStandardStreams() || !morvane::superviseHost()) return 1;
    const auto binding = morvane::loadPcProxLibrary(argc > 1 ? argv[1] : "");
    return serve(binding ? &binding->entry() : nullptr);
}
