#pragma once

#include "readers/host_protocol.h"
#include "readers/pcprox_library.h"

namespace morvane {

// Makes one library call for the window and says how it went. Without a library (null) every
// call is missing.
HostReply callLibrary(const PcProxEntryPoints* library, const HostRequest& request);

}  // namespace morvane
