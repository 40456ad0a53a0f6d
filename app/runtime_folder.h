// The per-user runtime folder Qt expects in XDG_RUNTIME_DIR.
#pragma once

#include <string>

namespace morvane {

// Where no login session provides XDG_RUNTIME_DIR (root on a console, a calling program started
// by a service, sudo), points it at a folder of this user's in /tmp, so that Qt does not warn and
// the reader host has a place of its own: the shared one when it is a real folder that this user
// owns and nobody else may enter; otherwise a fresh private one, said once on standard error and
// removed with this object.
class RuntimeFolder {
  public:
    RuntimeFolder();
    explicit RuntimeFolder(const std::string& shared);
    ~RuntimeFolder();
    RuntimeFolder(const RuntimeFolder&) = delete;
    RuntimeFolder& operator=(const RuntimeFolder&) = delete;

  private:
    std::string fresh_;  // made for this run, empty when the shared one or a named one is used
};

}  // namespace morvane
