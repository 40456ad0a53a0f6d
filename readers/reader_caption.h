#pragma once

#include <string>
#include <string_view>

namespace morvane {

inline constexpr std::string_view kReaderDetectedMarker = "{pcProx USB Reader Detected}";

// The window's caption after the readers have been (re)initialised: the marker follows one
// blank when a usable reader was found and the caption does not already end with "}". Nothing
// ever takes the marker away, so a reader unplugged later leaves the caption as it is.
std::string captionWithReaderMarker(std::string_view caption, bool usbReaderFound);

}  // namespace morvane
