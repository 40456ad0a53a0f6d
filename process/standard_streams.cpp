#include "process/standard_streams.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>

namespace morvane {

bool openClosedStandardStreams() {
    for (int fd = STDIN_FILENO; fd <= STDERR_FILENO; ++fd) {
        if (::fcntl(fd, F_GETFD) != -1 || errno != EBADF) continue;
        // Every lower number is open by now, so the lowest free one is fd itself.
        if (::open("/dev/null", O_RDWR) != fd) return false;
    }
    return true;
}

}  // namespace morvane
