// morvane-reader-host: runs the pcProx reader library for the window in a process of its own,
// so that a library that crashes, hangs or writes where it should not costs one reader step,
// never the window or what the operator typed.
//
//   morvane-reader-host PROGRAM_FOLDER   (requests arrive on, and replies leave by, fd 3)
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#include "process/standard_streams.h"
#include "readers/host/library_calls.h"

namespace {

constexpr int kChannel = 3;

template <std::size_t N>
bool readFrame(std::array<std::uint8_t, N>& frame) {
    std::size_t got = 0;
    while (got < N) {
        const ssize_t n = ::read(kChannel, frame.data() + got, N - got);
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
        const ssize_t n = ::write(kChannel, frame.data() + sent, N - sent);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        sent += static_cast<std::size_t>(n);
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (!morvane::openClosedStandardStreams()) return 1;
    // Whatever the library prints must not reach the window's own output.
    ::dup2(STDERR_FILENO, STDOUT_FILENO);
    const auto binding = morvane::loadPcProxLibrary(argc > 1 ? argv[1] : "");
    const morvane::PcProxEntryPoints* library = binding ? &binding->entry() : nullptr;
    morvane::RequestFrame frame;
    // The window closing its end, or a request that makes no sense, ends the service.
    while (readFrame(frame)) {
        const auto request = morvane::decodeRequest(frame);
        if (!request || !writeFrame(morvane::encodeReply(morvane::callLibrary(library, *request)))) {
            return 1;
        }
    }
    return 0;
}
