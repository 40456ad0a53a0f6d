// The clipboard keeper on a real X server, read back with xclip as a calling program would.
// The suite runs on a private X server of its own (tests/e2e/with_xvfb.sh).
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>
#include <xcb/xcb.h>

#include <chrono>
#include <filesystem>
#include <regex>
#include <thread>

#include "app/clipboard/clipboard_handoff.h"
#include "app/clipboard/x11_clipboard_reader.h"
#include "support/run_process.h"

namespace morvane::test {
namespace {

using namespace std::chrono_literals;

std::string clipboard(const char* target = "UTF8_STRING") {
    return runProcess("/usr/bin/xclip", {"-o", "-selection", "clipboard", "-t", target}).out;
}

bool alive(pid_t pid) { return ::kill(pid, 0) == 0; }

bool waitUntilGone(pid_t pid) {
    for (int i = 0; i < 100 && alive(pid); ++i) std::this_thread::sleep_for(50ms);
    return !alive(pid);
}

TEST(ClipboardKeeper, HoldsTheTextUntilAnotherKeeperOrProgramTakesTheClipboard) {
    const std::string result = "OK;0000000475460163;FC=123;CF=26;QRVF=F";
    const auto first = handClipboardToKeeper(MORVANE_CLIPBOARD_KEEPER, "Cancel", 5s);
    const auto keeper = handClipboardToKeeper(MORVANE_CLIPBOARD_KEEPER, result, 5s);
    ASSERT_TRUE(first && keeper);
    EXPECT_TRUE(waitUntilGone(*first));
    for (const char* target : {"UTF8_STRING", "STRING", "text/plain;charset=utf-8"}) {
        EXPECT_EQ(clipboard(target), result) << target;
    }
    EXPECT_NE(clipboard("TARGETS").find("UTF8_STRING"), std::string::npos);
    EXPECT_TRUE(std::regex_match(clipboard("TIMESTAMP"), std::regex("[0-9]+\n")));
    // xclip stays behind to serve its text; its streams must not hold ours open.
    runProcess("/bin/sh", {"-c", "printf next | xclip -i -selection clipboard >/dev/null 2>&1"});
    EXPECT_EQ(clipboard(), "next");
    EXPECT_TRUE(waitUntilGone(*keeper));
}

// An X client of the test's own: takes the clipboard and never answers, or tells the keeper
// falsely that it lost the clipboard.
class TestClient {
  public:
    TestClient() : c_(xcb_connect(nullptr, nullptr)) {
        const xcb_intern_atom_cookie_t cookie = xcb_intern_atom(c_, 0, 9, "CLIPBOARD");
        xcb_intern_atom_reply_t* r = xcb_intern_atom_reply(c_, cookie, nullptr);
        clipboard_ = r ? r->atom : 0;
        std::free(r);
    }
    ~TestClient() { xcb_disconnect(c_); }
    void takeClipboardSilently() {
        const xcb_window_t w = xcb_generate_id(c_);
        const xcb_screen_t* screen = xcb_setup_roots_iterator(xcb_get_setup(c_)).data;
        xcb_create_window(c_, XCB_COPY_FROM_PARENT, w, screen->root, 0, 0, 1, 1, 0,
                          XCB_WINDOW_CLASS_INPUT_ONLY, XCB_COPY_FROM_PARENT, 0, nullptr);
        xcb_set_selection_owner(c_, w, clipboard_, XCB_CURRENT_TIME);
        roundTrip();
    }
    void forgeSelectionClear() {
        xcb_get_selection_owner_reply_t* r =
            xcb_get_selection_owner_reply(c_, xcb_get_selection_owner(c_, clipboard_), nullptr);
        xcb_selection_clear_event_t ev{};
        ev.response_type = XCB_SELECTION_CLEAR;
        ev.owner = r ? r->owner : 0;
        ev.selection = clipboard_;
        std::free(r);
        xcb_send_event(c_, 0, ev.owner, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<char*>(&ev));
        roundTrip();
    }

  private:
    // Every request sent so far has reached the server.
    void roundTrip() { std::free(xcb_get_input_focus_reply(c_, xcb_get_input_focus(c_), nullptr)); }
    xcb_connection_t* c_;
    xcb_atom_t clipboard_;
};

TEST(ClipboardKeeper, HoldsNoFolderAndIgnoresAForgedLossOfTheClipboard) {
    const auto keeper = handClipboardToKeeper(MORVANE_CLIPBOARD_KEEPER, "Cancel \u00e9", 5s);
    ASSERT_TRUE(keeper.has_value());
    TestClient().forgeSelectionClear();
    EXPECT_EQ(clipboard() + clipboard("STRING"), "Cancel \u00e9Cancel \xe9");  // STRING is Latin-1
    EXPECT_TRUE(alive(*keeper));
    EXPECT_EQ(std::filesystem::read_symlink("/proc/" + std::to_string(*keeper) + "/cwd"), "/");
    ::kill(*keeper, SIGTERM);
}

TEST(ClipboardKeeper, TheStartUpReadTakesOnlyShortTextsAndDoesNotWaitLong) {
    const std::string fits(4096, '7');
    for (const std::string& text : {std::string("FC=1;CF=26;QRVF=F"), fits, fits + "7"}) {
        const auto keeper = handClipboardToKeeper(MORVANE_CLIPBOARD_KEEPER, text, 5s);
        ASSERT_TRUE(keeper.has_value());
        const ClipboardRead read = readX11ClipboardText(4096, 5s);
        EXPECT_EQ(read.text, text.size() <= 4096 ? text : "") << text.size();
        EXPECT_TRUE(read.answered);
    }
    // Each keeper gave way to the next and the last to a client that never answers, so that the
    // clipboard always had a live owner: a keeper killed instead left the read a moment with none.
    TestClient silent;
    silent.takeClipboardSilently();
    const ClipboardRead unanswered = readX11ClipboardText(4096, 200ms);
    EXPECT_EQ(unanswered.text + (unanswered.answered ? "answered" : ""), "");
}

TEST(ClipboardKeeper, EndsAfterItsLifetime) {
    const auto keeper = handClipboardToKeeper(MORVANE_CLIPBOARD_KEEPER, "x", 5s, 1s);
    ASSERT_TRUE(keeper.has_value());
    EXPECT_TRUE(waitUntilGone(*keeper));
}

TEST(ClipboardKeeperWithoutX, ReportsFailureInsteadOfSuccess) {
    const char* display = ::getenv("DISPLAY");
    const std::string saved = display ? display : "";
    ::setenv("DISPLAY", ":9999", 1);
    EXPECT_FALSE(handClipboardToKeeper(MORVANE_CLIPBOARD_KEEPER, "lost?", 5s).has_value());
    EXPECT_FALSE(handClipboardToKeeper("/nonexistent/keeper", "lost?", 5s).has_value());
    for (const auto& args : {std::vector<std::string>{"--ready-fd", "1", "--lifetime", "5"},
                             std::vector<std::string>{"--ready-fd", "3", "--lifetime"}}) {
        EXPECT_EQ(runProcess(MORVANE_CLIPBOARD_KEEPER, args).exitCode, 2) << args.size();
    }
    if (display) ::setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
}  // namespace morvane::test
