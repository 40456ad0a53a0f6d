// What every Morvane program does first: descriptors 0, 1 and 2 are its standard streams.
#pragma once

namespace morvane {

// Opens each of standard input, output and error that the caller left closed on /dev/null, so
// that the next file, socket or X connection opened cannot take its number and receive what is
// printed. Call before anything opens a file; false when one could not be opened.
[[nodiscard]] bool openClosedStandardStreams();

}  // namespace morvane
