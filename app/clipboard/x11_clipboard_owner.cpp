#include "app/clipboard/x11_clipboard_owner.h"

#include <poll.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <array>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string_view>
#include <vector>

namespace morvane {

namespace {

template <typename T>
using Reply = std::unique_ptr<T, decltype(&std::free)>;

template <typename T>
Reply<T> reply(T* p) {
    return Reply<T>(p, &std::free);
}

xcb_atom_t internAtom(xcb_connection_t* c, std::string_view name) {
    auto r = reply(xcb_intern_atom_reply(
        c, xcb_intern_atom(c, 0, static_cast<std::uint16_t>(name.size()), name.data()), nullptr));
    return r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
}

// STRING is Latin-1: characters beyond it cannot travel that way and become '?'.
std::string toLatin1(const std::string& utf8) {
    std::string out;
    for (std::size_t i = 0; i < utf8.size(); ++i) {
        const auto c = static_cast<unsigned char>(utf8[i]);
        if (c < 0x80) {
            out.push_back(static_cast<char>(c));
        } else if ((c == 0xC2 || c == 0xC3) && i + 1 < utf8.size()) {
            const auto next = static_cast<unsigned char>(utf8[i + 1]);
            out.push_back(static_cast<char>(((c & 0x03U) << 6) | (next & 0x3FU)));
            ++i;
        } else if (c >= 0xC0) {
            out.push_back('?');
        }
    }
    return out;
}

struct Atoms {
    xcb_atom_t clipboard, targets, timestamp, utf8, text, plainUtf8, plain, stamp;
};

class Owner {
  public:
    Owner(xcb_connection_t* c, xcb_window_t window, const Atoms& atoms, const std::string& text,
          xcb_timestamp_t since)
        : c_(c),
          window_(window),
          atoms_(atoms),
          utf8_(text),
          latin1_(toLatin1(text)),
          since_(since) {}

    void answer(const xcb_selection_request_event_t& req) {
        // Clients from before ICCCM name no property: the target doubles as one.
        xcb_atom_t property = req.property == XCB_ATOM_NONE ? req.target : req.property;
        const std::uint32_t maxBytes = xcb_get_maximum_request_length(c_) * 4U - 64U;
        if (req.selection != atoms_.clipboard || req.owner != window_) {
            property = XCB_ATOM_NONE;
        } else if (req.target == atoms_.targets) {
            const std::array<xcb_atom_t, 7> list{
                atoms_.targets, atoms_.timestamp, atoms_.utf8, XCB_ATOM_STRING,
                atoms_.text,    atoms_.plainUtf8, atoms_.plain};
            xcb_change_property(c_, XCB_PROP_MODE_REPLACE, req.requestor, property, XCB_ATOM_ATOM,
                                32, list.size(), list.data());
        } else if (req.target == atoms_.timestamp) {
            xcb_change_property(c_, XCB_PROP_MODE_REPLACE, req.requestor, property,
                                XCB_ATOM_INTEGER, 32, 1, &since_);
        } else if (req.target == atoms_.utf8 || req.target == atoms_.text ||
                   req.target == atoms_.plainUtf8) {
            if (utf8_.size() > maxBytes) {
                property = XCB_ATOM_NONE;
            } else {
                const xcb_atom_t type = req.target == atoms_.text ? atoms_.utf8 : req.target;
                xcb_change_property(c_, XCB_PROP_MODE_REPLACE, req.requestor, property, type, 8,
                                    static_cast<std::uint32_t>(utf8_.size()), utf8_.data());
            }
        } else if (req.target == XCB_ATOM_STRING || req.target == atoms_.plain) {
            if (latin1_.size() > maxBytes) {
                property = XCB_ATOM_NONE;
            } else {
                xcb_change_property(c_, XCB_PROP_MODE_REPLACE, req.requestor, property, req.target,
                                    8, static_cast<std::uint32_t>(latin1_.size()), latin1_.data());
            }
        } else {
            property = XCB_ATOM_NONE;
        }
        xcb_selection_notify_event_t ev{};
        ev.response_type = XCB_SELECTION_NOTIFY;
        ev.time = req.time;
        ev.requestor = req.requestor;
        ev.selection = req.selection;
        ev.target = req.target;
        ev.property = property;
        std::array<char, 32> raw{};
        std::memcpy(raw.data(), &ev, sizeof ev);
        xcb_send_event(c_, 0, req.requestor, XCB_EVENT_MASK_NO_EVENT, raw.data());
        xcb_flush(c_);
    }

  private:
    xcb_connection_t* c_;
    xcb_window_t window_;
    Atoms atoms_;
    std::string utf8_;
    std::string latin1_;
    xcb_timestamp_t since_;
};

// A real server timestamp for taking the selection: append nothing to a property of our own
// window and read the time of the PropertyNotify that follows.
xcb_timestamp_t serverTime(xcb_connection_t* c, xcb_window_t window, xcb_atom_t stamp) {
    xcb_change_property(c, XCB_PROP_MODE_APPEND, window, stamp, XCB_ATOM_STRING, 8, 0, nullptr);
    xcb_flush(c);
    while (xcb_generic_event_t* ev = xcb_wait_for_event(c)) {
        const auto type = ev->response_type & 0x7FU;
        xcb_timestamp_t time = XCB_CURRENT_TIME;
        const bool found = type == XCB_PROPERTY_NOTIFY;
        if (found) time = reinterpret_cast<xcb_property_notify_event_t*>(ev)->time;
        std::free(ev);
        if (found) return time;
    }
    return XCB_CURRENT_TIME;
}

// Any client may send a SelectionClear; only the server's word on the owner counts.
bool stillOwner(xcb_connection_t* c, xcb_window_t window, xcb_atom_t selection) {
    auto owner =
        reply(xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, selection), nullptr));
    return owner && owner->owner == window;
}

void signalReady(int readyFd) {
    const std::string line = std::to_string(::getpid()) + "\n";
    [[maybe_unused]] const auto n = ::write(readyFd, line.data(), line.size());
    ::close(readyFd);
}

}  // namespace

int holdX11Clipboard(const std::string& text, int readyFd, std::chrono::seconds lifetime) {
    int screenNumber = 0;
    xcb_connection_t* c = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(c)) {
        xcb_disconnect(c);
        ::close(readyFd);
        return 1;
    }
    xcb_screen_iterator_t it = xcb_setup_roots_iterator(xcb_get_setup(c));
    for (int i = 0; i < screenNumber && it.rem > 0; ++i) xcb_screen_next(&it);
    const xcb_window_t window = xcb_generate_id(c);
    const std::uint32_t events = XCB_EVENT_MASK_PROPERTY_CHANGE;
    xcb_create_window(c, XCB_COPY_FROM_PARENT, window, it.data->root, 0, 0, 1, 1, 0,
                      XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, XCB_CW_EVENT_MASK,
                      &events);
    const Atoms atoms{internAtom(c, "CLIPBOARD"),  internAtom(c, "TARGETS"),
                      internAtom(c, "TIMESTAMP"),  internAtom(c, "UTF8_STRING"),
                      internAtom(c, "TEXT"),       internAtom(c, "text/plain;charset=utf-8"),
                      internAtom(c, "text/plain"), internAtom(c, "_MORVANE_TIMESTAMP")};
    const xcb_timestamp_t since = serverTime(c, window, atoms.stamp);
    xcb_set_selection_owner(c, window, atoms.clipboard, since);
    auto owner = reply(
        xcb_get_selection_owner_reply(c, xcb_get_selection_owner(c, atoms.clipboard), nullptr));
    if (!owner || owner->owner != window) {
        xcb_disconnect(c);
        ::close(readyFd);
        return 1;
    }
    signalReady(readyFd);

    Owner server(c, window, atoms, text, since);
    const auto deadline = std::chrono::steady_clock::now() + lifetime;
    pollfd pfd{xcb_get_file_descriptor(c), POLLIN, 0};
    for (;;) {
        while (xcb_generic_event_t* ev = xcb_poll_for_event(c)) {
            const auto type = ev->response_type & 0x7FU;
            if (type == XCB_SELECTION_REQUEST) {
                server.answer(*reinterpret_cast<xcb_selection_request_event_t*>(ev));
            } else if (type == XCB_SELECTION_CLEAR && !stillOwner(c, window, atoms.clipboard)) {
                std::free(ev);
                xcb_disconnect(c);
                return 0;  // another program holds the clipboard now: our text is done
            }
            std::free(ev);
        }
        if (xcb_connection_has_error(c)) break;
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (left.count() <= 0) break;
        ::poll(&pfd, 1, static_cast<int>(std::min<long long>(left.count(), 60'000)));
    }
    xcb_disconnect(c);
    return 0;
}

}  // namespace morvane
