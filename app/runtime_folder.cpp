#include "app/runtime_folder.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace morvane {

namespace {

// lstat looks at the name itself, so a link to somewhere else never passes. In /tmp, which is
// sticky, nobody but its owner can replace a folder once it passed.
bool isPrivateFolder(const std::string& folder) {
    struct stat st {};
    return ::lstat(folder.c_str(), &st) == 0 && S_ISDIR(st.st_mode) && st.st_uid == ::getuid() &&
           (st.st_mode & 07777) == 0700;
}

}  // namespace

RuntimeFolder::RuntimeFolder() : RuntimeFolder("/tmp/runtime-" + std::to_string(::getuid())) {}

RuntimeFolder::RuntimeFolder(const std::string& shared) {
    const char* current = std::getenv("XDG_RUNTIME_DIR");
    if (current != nullptr && *current != '\0') return;
    // Made now or long ago, by us or by someone else: what stands there is checked afterwards.
    ::mkdir(shared.c_str(), 0700);
    if (isPrivateFolder(shared)) {
        ::setenv("XDG_RUNTIME_DIR", shared.c_str(), 1);
        return;
    }
    std::string fresh = "/tmp/morvane-runtime-XXXXXX";
    if (::mkdtemp(fresh.data()) == nullptr) {
        std::fprintf(stderr,
                     "morvane: %s is not a private folder of this user's, and no other "
                     "could be made\n",
                     shared.c_str());
        return;
    }
    fresh_ = fresh;
    ::setenv("XDG_RUNTIME_DIR", fresh_.c_str(), 1);
    std::fprintf(stderr,
                 "morvane: %s is not a private folder of this user's; using %s for this "
                 "run\n",
                 shared.c_str(), fresh_.c_str());
}

RuntimeFolder::~RuntimeFolder() {
    if (fresh_.empty()) return;
    std::error_code ignored;  // at exit, nobody is left to tell
    std::filesystem::remove_all(fresh_, ignored);
}

}  // namespace morvane
