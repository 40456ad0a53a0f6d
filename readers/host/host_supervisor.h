#pragma once

// morvane-reader-host runs as two processes: a supervisor that stays in the window's process
// group, and below it the host that loads the reader library, in a session of its own. Whatever
// the library does to its own group (signals it, stops it) reaches only the host's side, and
// whatever it starts (a helper, a daemon that left with setsid) ends with the host or with the
// window, because the supervisor adopts every orphan below it and kills them all.
#include <sys/resource.h>

namespace morvane {

// A reader library needs a few MiB; a library that allocates without end costs one step, not
// the machine. Sanitizer builds reserve terabytes of shadow memory, which no such bound allows.
#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
inline constexpr rlim_t kHostAddressSpace = RLIM_INFINITY;
#else
inline constexpr rlim_t kHostAddressSpace = rlim_t{1} << 30;
#endif

// Forks. In the supervisor this never returns: it waits until the window closes the channel or
// the host ends, then ends every process below it and exits. In the host it returns once the
// host stands alone: its own session, nothing open but 0, 1, 2 and the channel (which programs
// it starts do not inherit), its memory bounded. False when the host could not be set apart.
bool superviseHost();

}  // namespace morvane
