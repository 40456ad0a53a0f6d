#include "app/clipboard/x11_clipboard_reader.h"

#include <poll.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <memory>
#include <string_view>

namespace morvane {

namespace {

struct FreeReply {
    void operator()(void* p) const { std::free(p); }
};
template <typename T>
using Reply = std::unique_ptr<T, FreeReply>;

xcb_atom_t atom(xcb_connection_t* c, std::string_view name) {
    const Reply<xcb_intern_atom_reply_t> r(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// The owner's answer, or nothing once the deadline has passed.
bool awaitNotify(xcb_connection_t* c, std::chrono::steady_clock::time_point deadline,
                 xcb_atom_t& property) {
    pollfd pfd{xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t* ev = xcb_poll_for_event(c)) {
            const bool notify = (ev->response_type & 0x7FU) == XCB_SELECTION_NOTIFY;
            if (notify) property = reinterpret_cast<xcb_selection_notify_event_t*>(ev)->property;
            std::free(ev);
            if (notify) return true;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (xcb_connection_has_error(c) || left.count() <= 0) return false;
        ::poll(&pfd, 1, static_cast<int>(left.count()));
    }
}

ClipboardRead fetch(xcb_connection_t* c, xcb_window_t window, std::size_t limit,
                    std::chrono::milliseconds wait) {
    const auto deadline = std::chrono::steady_clock::now() + wait;
    const xcb_atom_t clipboard = atom(c, "CLIPBOARD");
    const xcb_atom_t utf8 = atom(c, "UTF8_STRING");
    const xcb_atom_t slot = atom(c, "_MORVANE_INVOCATION");
    xcb_convert_selection(c, window, clipboard, utf8, slot, XCB_CURRENT_TIME);
    xcb_flush(c);
    xcb_atom_t property = XCB_ATOM_NONE;
    if (!awaitNotify(c, deadline, property)) return notAnswered();
    if (property == XCB_ATOM_NONE) return {};
    // One word more than the limit tells a text that is too long from one that just fits; an
    // owner that sends in parts (INCR) does so only for texts far beyond it.
    const auto words = static_cast<std::uint32_t>(limit / 4 + 1);
    const Reply<xcb_get_property_reply_t> r(xcb_get_property_reply(
        c, xcb_get_property(c, 1, window, property, utf8, 0, words), nullptr));
    if (!r || r->type != utf8 || r->format != 8 || r->bytes_after > 0) return {};
    const auto length = static_cast<std::size_t>(xcb_get_property_value_length(r.get()));
    if (length > limit) return {};
    return {.text = {static_cast<const char*>(xcb_get_property_value(r.get())), length},
            .answered = true};
}

}  // namespace

ClipboardRead readX11ClipboardText(std::size_t limit, std::chrono::milliseconds wait) {
    xcb_connection_t* c = xcb_connect(nullptr, nullptr);
    ClipboardRead text = notAnswered();
    if (!xcb_connection_has_error(c)) {
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c)).data;
        const xcb_window_t window = xcb_generate_id(c);
        xcb_create_window(c, XCB_COPY_FROM_PARENT, window, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        text = fetch(c, window, limit, wait);
    }
    xcb_disconnect(c);
    return text;
}

}  // namespace morvane
