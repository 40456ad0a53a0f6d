#include "readers/lock/read_from_lock.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace morvane {
namespace {

using Log = std::vector<std::string>;

// The window and a lock component of somebody else's, with status numbers of its own, writing
// everything the click does to one log.
struct Recorder : LockButtonView, LockControl {
    bool ctrlHeld() const override { return ctrl; }
    bool shiftHeld() const override { return shift; }
    void showMessage(std::string_view text) override {
        log.push_back("message " + std::string(text));
    }
    void setCardData(const std::string& text) override { log.push_back("txtData " + text); }
    void setCaption(const std::string& text) override { log.push_back("caption " + text); }
    std::string selectedPort() const override { return selected; }
    void setPorts(const std::vector<std::string>& ports) override {
        std::string joined = "ports";
        for (const std::string& port : ports) joined += " " + port;
        log.push_back(joined);
    }

    void setPort(std::int16_t p) override { log.push_back("port " + std::to_string(p)); }
    void setWaitValue(std::int16_t w) override { log.push_back("wait " + std::to_string(w)); }
    std::int32_t readCard() override { return status; }
    std::int32_t readLockInfo() override { return -status; }
    std::int32_t statusSuccess() const override { return shift ? -40 : 40; }
    std::int32_t statusCancelled() const override { return shift ? -41 : 41; }
    std::int32_t statusTimeout() const override { return shift ? -42 : 42; }
    std::int32_t statusError() const override { return shift ? -43 : 43; }
    std::string cardData() const override { return "0000000600400002"; }
    std::string lockInfo() const override { return "Door 12"; }
    std::int32_t errorKind() const override { return kind; }
    std::string errorDescription() const override { return "The lock reported error 17."; }
    std::string aboutText() const override { return "about the lock"; }
    void reset() override { log.push_back("reset"); }

    bool ctrl = false;
    bool shift = false;
    std::string selected;
    std::int32_t status = 40;
    std::int32_t kind = 0;
    Log log;
};

struct Click {
    bool ctrl, shift;
    const char* selected;
    std::int32_t status, kind;
    Log log;
};

const Log kCardRead{"caption press 'ESC' to cancel", "txtData ", "port 3", "wait 7500"};
const Log kShift{"port 3", "wait 5000"};

Log operator+(Log head, const Log& tail) {
    head.insert(head.end(), tail.begin(), tail.end());
    return head;
}

TEST(ReadFromLock, EachFormOfTheClickDoesItsSteps) {
    const Log afterRead{"caption Read Card From Lock"};
    const Click cases[] = {
        {true, true, "", 40, 0, {"message about the lock", "reset"}},
        {false, false, "", 40, 0, {"message No comport selected", "ports 3 5"}},
        {false, false, "7", 40, 0, {"message Error opening selected comport", "ports 3 5"}},
        {false, true, "x", 40, 0, {"message Error opening selected comport", "ports 3 5"}},
        {false, false, "3", 40, 0, kCardRead + Log{"txtData 0000000600400002"} + afterRead},
        {false, false, "3", 41, 0, kCardRead + Log{"message Cancelled"} + afterRead},
        {false, false, "3", 42, 0, kCardRead + Log{"message Timeout"} + afterRead},
        {false, false, "3", 43, 2, kCardRead + Log{"message Error Opening Com Port"} + afterRead},
        {false, false, "3", 43, 1,
         kCardRead + Log{"message The lock reported error 17."} + afterRead},
        {false, false, "3", 99, 0, kCardRead + afterRead},
        {false, true, "3", 40, 0, kShift + Log{"message Door 12"}},
        {false, true, "3", 41, 0, kShift + Log{"message Cancelled"}},
        {false, true, "3", 42, 0, kShift + Log{"message Timeout"}},
        {false, true, "3", 43, 2, kShift + Log{"message The lock reported error 17."}},
        {false, true, "3", 99, 0, kShift},
    };
    for (const Click& c : cases) {
        Recorder window;
        window.ctrl = c.ctrl;
        window.shift = c.shift;
        window.selected = c.selected;
        window.status = c.status;
        window.kind = c.kind;
        ReadFromLock(window, window, [](std::int16_t port) {
            return port == 3 || port == 5;
        }).cmdGetCard_Click();
        EXPECT_EQ(window.log, c.log) << c.selected << " " << c.status << " " << c.shift;
    }
}

}  // namespace
}  // namespace morvane
