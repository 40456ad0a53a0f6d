// The per-user runtime folder Qt expects in XDG_RUNTIME_DIR.
#pragma once

namespace morvane {

// Where no login session provides XDG_RUNTIME_DIR (root on a console, a calling program started
// by a service, sudo), points it at a private folder of this user's, so that Qt neither warns on
// every start nor falls back to a folder it has not checked. Leaves the variable unset when that
// folder exists but is not a 0700 folder of this user's: Qt then says so itself.
void provideRuntimeFolder();

}  // namespace morvane
