#include "app/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

namespace morvane {

namespace {

// A folder someone else made, or one others can read, would carry this user's sockets.
bool isPrivateFolder(const std::string& path) {
    struct stat info {};
    return ::lstat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) &&
           info.st_uid == ::getuid() && (info.st_mode & 0777) == 0700;
}

}  // namespace

void provideRuntimeFolder() {
    const char* current = std::getenv("XDG_RUNTIME_DIR");
    if (current != nullptr && *current != '\0') {
        return;
    }
    const char* temp = std::getenv("TMPDIR");
    const std::string base = (temp != nullptr && *temp == '/') ? temp : "/tmp";
    const std::string folder = base + "/runtime-" + std::to_string(::getuid());
    ::mkdir(folder.c_str(), 0700);  // an existing folder is judged below like a new one
    if (isPrivateFolder(folder)) {
        ::setenv("XDG_RUNTIME_DIR", folder.c_str(), 1);
    }
}

}  // namespace morvane
