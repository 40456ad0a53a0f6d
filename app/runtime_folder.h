// The per-user runtime folder Qt expects in XDG_RUNTIME_DIR.
#pragma once

namespace morvane {

// Where no login session provides XDG_RUNTIME_DIR (root on a console, a calling program started
// by a service, sudo), points it at a folder of this user's in /tmp, so that Qt does not warn on
// every start.
void provideRuntimeFolder();

}  // namespace morvane
