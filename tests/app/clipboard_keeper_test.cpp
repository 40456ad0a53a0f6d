// The clipboard keeper on a real X server, read back with xclip as a calling program would.
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <chrono>
#include <thread>

#include "app/clipboard/clipboard_handoff.h"
#include "support/run_process.h"
#include "support/xvfb.h"

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

class ClipboardKeeper : public ::testing::Test {
  protected:
    static void SetUpTestSuite() { server_ = new XvfbServer(); }
    static void TearDownTestSuite() { delete server_; }
    void SetUp() override {
        if (!server_->running()) GTEST_SKIP() << "Xvfb could not start";
    }
    static XvfbServer* server_;
};
XvfbServer* ClipboardKeeper::server_ = nullptr;

TEST_F(ClipboardKeeper, HoldsTheTextUntilAnotherProgramTakesTheClipboard) {
    const auto keeper = handClipboardToKeeper(MORVANE_CLIPBOARD_KEEPER,
                                              "OK;0000000475460163;FC=123;CF=26;QRVF=F", 5s);
    ASSERT_TRUE(keeper.has_value());
    EXPECT_EQ(clipboard(), "OK;0000000475460163;FC=123;CF=26;QRVF=F");
    EXPECT_EQ(clipboard("STRING"), "OK;0000000475460163;FC=123;CF=26;QRVF=F");
    EXPECT_EQ(clipboard("text/plain;charset=utf-8"), "OK;0000000475460163;FC=123;CF=26;QRVF=F");
    const std::string targets = clipboard("TARGETS");
    EXPECT_NE(targets.find("UTF8_STRING"), std::string::npos);

    // xclip stays behind to serve its text; its streams must not hold ours open.
    runProcess("/bin/sh", {"-c", "printf next | xclip -i -selection clipboard >/dev/null 2>&1"});
    EXPECT_EQ(clipboard(), "next");
    EXPECT_TRUE(waitUntilGone(*keeper));
}

TEST_F(ClipboardKeeper, ANewKeeperReplacesTheOldOne) {
    const auto first = handClipboardToKeeper(MORVANE_CLIPBOARD_KEEPER, "Cancel", 5s);
    const auto second = handClipboardToKeeper(MORVANE_CLIPBOARD_KEEPER, "0000000600400002", 5s);
    ASSERT_TRUE(first && second);
    EXPECT_TRUE(waitUntilGone(*first));
    EXPECT_EQ(clipboard(), "0000000600400002");
    ::kill(*second, SIGTERM);
}

TEST_F(ClipboardKeeper, EndsAfterItsLifetime) {
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
    if (display) ::setenv("DISPLAY", saved.c_str(), 1);
}

}  // namespace
}  // namespace morvane::test
