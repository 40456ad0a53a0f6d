#pragma once

#include <chrono>
#include <cstddef>
#include <memory>

#include "app/clipboard/clipboard_read.h"

struct wl_display;

namespace morvane {

// The clipboard as a Wayland compositor offers it: to the program's own connection, and only
// once one of its windows has the keyboard focus. A second connection (wl-paste) would need a
// protocol that not every compositor offers, so this listens on the toolkit's connection, in an
// event queue of its own that the toolkit never dispatches.
class WaylandClipboardReader {
  public:
    // Starts listening for the compositor's offers; nothing when it has no seat or clipboard.
    // Call it before the window is shown, so that the offer made with the first focus is heard.
    static std::unique_ptr<WaylandClipboardReader> listen(wl_display* display);
    ~WaylandClipboardReader();
    WaylandClipboardReader(const WaylandClipboardReader&) = delete;
    WaylandClipboardReader& operator=(const WaylandClipboardReader&) = delete;

    // Waits until the compositor has said what the clipboard holds, then reads at most `limit`
    // bytes of its text, all by `deadline`. Runs on any one thread at a time.
    ClipboardRead read(std::size_t limit, std::chrono::steady_clock::time_point deadline);

  private:
    struct Listener;
    struct Offer;
    explicit WaylandClipboardReader(wl_display* display);
    bool dispatchUntil(std::chrono::steady_clock::time_point deadline);
    bool syncUntil(std::chrono::steady_clock::time_point deadline);
    ClipboardRead receive(const Offer& offer, std::size_t limit,
                          std::chrono::steady_clock::time_point deadline);

    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace morvane
