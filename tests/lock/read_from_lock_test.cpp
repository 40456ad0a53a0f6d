#include "readers/lock/read_from_lock.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

using Log = std::vector<std::string>;

// What is held, selected and answered at one click, and what the click should do.
struct Click {
    bool ctrl, shift;
    const char* selected;
    std::int32_t status, kind;
    Log log;
};

// The window and a lock component of somebody else's, with status numbers of its own (negative
// ones for the Shift request), writing everything the click does to one log.
struct Recorder : LockButtonView, LockControl {
    explicit Recorder(const Click& click) : c(click) {}
    bool ctrlHeld() const override { return c.ctrl; }
    bool shiftHeld() const override { return c.shift; }
    void showMessage(std::string_view t) override { log.push_back("message " + std::string(t)); }
    void setCardData(const std::string& text) override { log.push_back("txtData " + text); }
    void setCaption(const std::string& text) override { log.push_back("caption " + text); }
    std::string selectedPort() const override { return c.selected; }
    void setPorts(const std::vector<std::string>& ports) override {
        log.push_back("ports");
        for (const std::string& port : ports) log.back() += " " + port;
    }
    void setPort(std::int16_t p) override { log.push_back("port " + std::to_string(p)); }
    void setWaitValue(std::int16_t w) override { log.push_back("wait " + std::to_string(w)); }
    std::int32_t readCard() override { return c.status; }
    std::int32_t readLockInfo() override { return -c.status; }
    std::int32_t statusSuccess() const override { return c.shift ? -40 : 40; }
    std::int32_t statusCancelled() const override { return c.shift ? -41 : 41; }
    std::int32_t statusTimeout() const override { return c.shift ? -42 : 42; }
    std::int32_t statusError() const override { return c.shift ? -43 : 43; }
    std::string cardData() const override { return "0000000600400002"; }
    std::string lockInfo() const override { return "Door 12"; }
    std::int32_t errorKind() const override { return c.kind; }
    std::string errorDescription() const override { return "The lock reported error 17."; }
    std::string aboutText() const override { return "about the lock"; }
    void reset() override { log.push_back("reset"); }

    const Click& c;
    Log log;
};

Log operator+(Log head, const Log& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(ReadFromLock, EachFormOfTheClickDoesItsSteps) {
    const Log read{"caption press 'ESC' to cancel", "txtData ", "port 3", "wait 7500"};
    const Log shift{"port 3", "wait 5000"};
    const Log after{"caption Read Card From Lock"};
    const Log refill{"ports 3 5"};
    const Click cases[] = {
        {true, true, "", 40, 0, {"message about the lock", "reset"}},
        {false, false, "", 40, 0, Log{"message No comport selected"} + refill},
        {false, true, "x", 40, 0, Log{"message Error opening selected comport"} + refill},
        {false, false, "3", 40, 0, read + Log{"txtData 0000000600400002"} + after},
        {false, false, "3", 41, 0, read + Log{"message Cancelled"} + after},
        {false, false, "3", 42, 0, read + Log{"message Timeout"} + after},
        {false, false, "3", 43, 2, read + Log{"message Error Opening Com Port"} + after},
        {false, false, "3", 43, 1, read + Log{"message The lock reported error 17."} + after},
        {false, false, "3", 99, 0, read + after},
        {false, true, "3", 40, 0, shift + Log{"message Door 12"}},
        {false, true, "3", 43, 2, shift + Log{"message The lock reported error 17."}},
    };
    for (const auto& c : cases) {
        Recorder window(c);
        ReadFromLock(window, window, [](std::int16_t port) {
            return port == 3 || port == 5;
        }).cmdGetCard_Click();
        EXPECT_EQ(window.log, c.log) << c.selected << " " << c.status << " " << c.shift;
    }
}

}  // namespace
}  // namespace morvane
