// morvane-clipboard: keeps a result on the X11 clipboard after Morvane has ended, because an X11
// program's clipboard text vanishes with the program unless somebody else holds it.
//
//   morvane-clipboard --ready-fd N [--lifetime SECONDS]   (the text arrives on standard input)
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <chrono>
#include <cstring>
#include <string>
#include <string_view>

#include "app/clipboard/x11_clipboard_owner.h"
#include "process/standard_streams.h"

namespace {

constexpr std::size_t kMaxText = 1 << 20;

bool parseInt(std::string_view text, int& value) {
    const auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return ec == std::errc() && ptr == text.data() + text.size();
}

}  // namespace

int main(int argc, char** argv) {
    if (!morvane::openClosedStandardStreams()) return 1;
    int readyFd = -1;
    int lifetime = 600;
    for (int i = 1; i < argc; i += 2) {
        const std::string_view name = argv[i];
        int* target = name == "--ready-fd" ? &readyFd : name == "--lifetime" ? &lifetime : nullptr;
        // A name without its value is refused, not passed over.
        if (!target || i + 1 == argc || !parseInt(argv[i + 1], *target)) return 2;
    }
    if (readyFd < 3 || lifetime <= 0) return 2;
    // Nothing else Morvane had open may outlive it here.
    for (int fd = 3; fd < 1024; ++fd) {
        if (fd != readyFd) ::close(fd);
    }

    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t n = ::read(STDIN_FILENO, buffer, sizeof buffer);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) break;
        text.append(buffer, static_cast<std::size_t>(n));
        if (text.size() > kMaxText) return 1;
    }

    // Detach: Morvane reaps this process at once, and the holder lives on in its own session.
    const pid_t pid = ::fork();
    if (pid < 0) return 1;
    if (pid > 0) _exit(0);
    ::setsid();
    // Up to its lifetime here: the folder we were started in, perhaps on a stick or a share,
    // must stay free to unmount.
    if (::chdir("/") != 0) return 1;
    return morvane::holdX11Clipboard(text, readyFd, std::chrono::seconds(lifetime));
}
