#include "app/clipboard/wayland_clipboard_reader.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>
#include <wayland-client.h>

#include <algorithm>
#include <array>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace morvane {

namespace {

using Clock = std::chrono::steady_clock;

// Milliseconds left until the deadline, for poll(); 0 once it has passed.
int msLeft(Clock::time_point deadline) {
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now()).count();
    return static_cast<int>(std::clamp<decltype(left)>(left, 0, 60'000));
}

// The one text type every Wayland toolkit offers, wl-copy and the X11 bridge included.
constexpr char kText[] = "text/plain;charset=utf-8";

// Reads at most limit + 1 bytes from `fd` by the deadline: one byte more than the limit tells a
// text that is too long from one that just fits. Signals are blocked on this thread, so no wait
// is cut short.
ClipboardRead readPipe(int fd, std::size_t limit, Clock::time_point deadline) {
    std::string text;
    std::array<char, 4096> chunk;
    for (;;) {
        pollfd pfd{fd, POLLIN, 0};
        if (::poll(&pfd, 1, msLeft(deadline)) <= 0) return notAnswered();
        const ssize_t n = ::read(fd, chunk.data(), chunk.size());
        if (n < 0) return notAnswered();
        if (n == 0) return {.text = std::move(text), .answered = true};
        text.append(chunk.data(), static_cast<std::size_t>(n));
        if (text.size() > limit) return {};
    }
}

}  // namespace

// One offer the compositor made, with the best text type it carries.
struct WaylandClipboardReader::Offer {
    wl_data_offer* proxy = nullptr;
    bool text = false;
};

struct WaylandClipboardReader::State {
    wl_display* display = nullptr;
    wl_event_queue* queue = nullptr;
    wl_display* wrapper = nullptr;
    wl_registry* registry = nullptr;
    wl_seat* seat = nullptr;
    wl_data_device_manager* manager = nullptr;
    wl_data_device* device = nullptr;
    std::vector<std::unique_ptr<Offer>> offers;
    // Set once the compositor has said what the clipboard holds; null: nothing.
    bool selectionKnown = false;
    Offer* selection = nullptr;

    ~State() {
        for (const auto& offer : offers) wl_data_offer_destroy(offer->proxy);
        if (device) wl_data_device_destroy(device);
        if (manager) wl_data_device_manager_destroy(manager);
        if (seat) wl_seat_destroy(seat);
        if (registry) wl_registry_destroy(registry);
        if (wrapper) wl_proxy_wrapper_destroy(wrapper);
        if (queue) wl_event_queue_destroy(queue);
    }
};

// The compositor's events, each handed to the state it concerns.
struct WaylandClipboardReader::Listener {
    static void global(void* data, wl_registry* registry, std::uint32_t name,
                       const char* interface, std::uint32_t) {
        auto* s = static_cast<State*>(data);
        if (!s->seat && std::strcmp(interface, wl_seat_interface.name) == 0) {
            s->seat = static_cast<wl_seat*>(wl_registry_bind(registry, name, &wl_seat_interface, 1));
        } else if (!s->manager && std::strcmp(interface, wl_data_device_manager_interface.name) == 0) {
            s->manager = static_cast<wl_data_device_manager*>(
                wl_registry_bind(registry, name, &wl_data_device_manager_interface, 1));
        }
    }
    static void globalRemove(void*, wl_registry*, std::uint32_t) {}

    static void offerType(void* data, wl_data_offer*, const char* mime) {
        if (std::string_view(mime) == kText) static_cast<Offer*>(data)->text = true;
    }

    static void sourceActions(void*, wl_data_offer*, std::uint32_t) {}
    static void action(void*, wl_data_offer*, std::uint32_t) {}

    static void dataOffer(void* data, wl_data_device*, wl_data_offer* proxy) {
        auto* s = static_cast<State*>(data);
        s->offers.push_back(std::make_unique<Offer>(Offer{.proxy = proxy, .text = false}));
        static const wl_data_offer_listener offerListener{
            .offer = offerType, .source_actions = sourceActions, .action = action};
        wl_data_offer_add_listener(proxy, &offerListener, s->offers.back().get());
    }
    static void selection(void* data, wl_data_device*, wl_data_offer* proxy) {
        auto* s = static_cast<State*>(data);
        s->selectionKnown = true;
        const auto offer = std::find_if(s->offers.begin(), s->offers.end(),
                                        [proxy](const auto& o) { return o->proxy == proxy; });
        s->selection = offer == s->offers.end() ? nullptr : offer->get();
    }
    // Drag and drop passes by; only the clipboard matters here.
    static void enter(void*, wl_data_device*, std::uint32_t, wl_surface*, wl_fixed_t, wl_fixed_t,
                      wl_data_offer*) {}
    static void leave(void*, wl_data_device*) {}
    static void motion(void*, wl_data_device*, std::uint32_t, wl_fixed_t, wl_fixed_t) {}
    static void drop(void*, wl_data_device*) {}
};

WaylandClipboardReader::WaylandClipboardReader(wl_display* display)
    : state_(std::make_unique<State>()) {
    state_->display = display;
}

WaylandClipboardReader::~WaylandClipboardReader() = default;

std::unique_ptr<WaylandClipboardReader> WaylandClipboardReader::listen(wl_display* display) {
    if (!display) return nullptr;
    std::unique_ptr<WaylandClipboardReader> reader(new WaylandClipboardReader(display));
    State& s = *reader->state_;
    s.queue = wl_display_create_queue(display);
    s.wrapper = static_cast<wl_display*>(wl_proxy_create_wrapper(display));
    wl_proxy_set_queue(reinterpret_cast<wl_proxy*>(s.wrapper), s.queue);
    s.registry = wl_display_get_registry(s.wrapper);
    static const wl_registry_listener registryListener{.global = Listener::global,
                                                       .global_remove = Listener::globalRemove};
    wl_registry_add_listener(s.registry, &registryListener, &s);
    if (wl_display_roundtrip_queue(display, s.queue) < 0 || !s.seat || !s.manager) return nullptr;
    s.device = wl_data_device_manager_get_data_device(s.manager, s.seat);
    static const wl_data_device_listener deviceListener{
        .data_offer = Listener::dataOffer,
        .enter = Listener::enter,
        .leave = Listener::leave,
        .motion = Listener::motion,
        .drop = Listener::drop,
        .selection = Listener::selection,
    };
    wl_data_device_add_listener(s.device, &deviceListener, &s);
    wl_display_flush(display);
    return reader;
}

// Dispatches this reader's queue until something arrived for it or the deadline passed. The
// toolkit reads the same connection from a thread of its own; prepare, read and cancel let both
// readers share it, whoever reads first hands the other its events.
bool WaylandClipboardReader::dispatchUntil(Clock::time_point deadline) {
    wl_display* display = state_->display;
    wl_event_queue* queue = state_->queue;
    if (wl_display_prepare_read_queue(display, queue) != 0) {
        return wl_display_dispatch_queue_pending(display, queue) >= 0;
    }
    wl_display_flush(display);
    pollfd pfd{wl_display_get_fd(display), POLLIN, 0};
    const int ready = ::poll(&pfd, 1, msLeft(deadline));
    if (ready <= 0) {
        wl_display_cancel_read(display);
        return false;
    }
    return wl_display_read_events(display) == 0 &&
           wl_display_dispatch_queue_pending(display, queue) >= 0;
}

// Every event the compositor sent before now has been dispatched, or the deadline passed.
bool WaylandClipboardReader::syncUntil(Clock::time_point deadline) {
    bool done = false;
    wl_callback* callback = wl_display_sync(state_->wrapper);
    static const wl_callback_listener listener{
        .done = [](void* data, wl_callback*, std::uint32_t) { *static_cast<bool*>(data) = true; }};
    wl_callback_add_listener(callback, &listener, &done);
    while (!done && dispatchUntil(deadline)) {
    }
    wl_callback_destroy(callback);
    return done;
}

ClipboardRead WaylandClipboardReader::receive(const Offer& offer, std::size_t limit,
                                              Clock::time_point deadline) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0) return notAnswered();
    // Our end never blocks, so that no read outlasts the deadline whatever the owner does.
    ::fcntl(fds[0], F_SETFL, O_NONBLOCK);
    wl_data_offer_receive(offer.proxy, kText, fds[1]);
    wl_display_flush(state_->display);
    ::close(fds[1]);
    ClipboardRead text = readPipe(fds[0], limit, deadline);
    ::close(fds[0]);
    return text;
}

// A compositor may withdraw an offer whenever it offers the clipboard again (a keyboard that
// comes or goes is enough), and a withdrawn offer reads as empty. So the text counts only when
// the offer it came from was still the newest one after the read.
ClipboardRead WaylandClipboardReader::read(std::size_t limit, Clock::time_point deadline) {
    State& s = *state_;
    const Offer* tried = nullptr;
    ClipboardRead text;
    for (;;) {
        if (!syncUntil(deadline)) return notAnswered();
        if (!s.selectionKnown) {
            if (!dispatchUntil(deadline)) return notAnswered();
            continue;
        }
        if (s.selection == tried) return text;
        if (!s.selection || !s.selection->text) return {};
        text = receive(*s.selection, limit, deadline);
        if (!text.answered) return text;
        tried = s.selection;
    }
}

}  // namespace morvane
