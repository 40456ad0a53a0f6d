#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace morvane {

// The text on the X11 CLIPBOARD selection, as UTF-8, from the X server DISPLAY names. The empty
// text when there is none, when its owner has not answered within `wait`, or when it is longer
// than `limit` bytes: only the first `limit` bytes are ever fetched, so a huge text costs
// nothing.
std::string readX11ClipboardText(std::size_t limit, std::chrono::milliseconds wait);

}  // namespace morvane
