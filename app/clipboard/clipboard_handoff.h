#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>

namespace morvane {

// Starts the clipboard keeper program with `text` and waits until it owns the X11 clipboard.
// Its standard output and error go to /dev/null, so a caller capturing Morvane's output sees it
// end when Morvane ends. Returns the keeper's process id, or nothing when it could not take the
// clipboard within `wait`.
std::optional<pid_t> handClipboardToKeeper(
    const std::string& keeperPath, const std::string& text, std::chrono::milliseconds wait,
    std::chrono::seconds lifetime = std::chrono::minutes(10));

}  // namespace morvane
