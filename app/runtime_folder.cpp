#include "app/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace morvane {

void provideRuntimeFolder() {
    const char* current = std::getenv("XDG_RUNTIME_DIR");
    if (current != nullptr && *current != '\0') {
        return;
    }
    // Qt checks the folder's owner and mode before it uses it, and says so when another user
    // made it first.
    const std::string folder = "/tmp/runtime-" + std::to_string(::getuid());
    if (::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST) {
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
}

}  // namespace morvane
