#pragma once

#include <chrono>
#include <cstddef>

#include "app/clipboard/clipboard_read.h"

namespace morvane {

// The text on the X11 CLIPBOARD selection, as UTF-8, from the X server DISPLAY names. The empty
// text when there is none or it is longer than `limit` bytes: only the first `limit` bytes are
// ever fetched, so a huge text costs nothing. Not answered when the owner has not answered
// within `wait` or the server cannot be reached.
ClipboardRead readX11ClipboardText(std::size_t limit, std::chrono::milliseconds wait);

}  // namespace morvane
