#include "readers/lock/read_from_lock.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <set>
#include <string>
#include <vector>

#include "lock_test_support.h"
#include "readers/lock/lock_reader.h"

namespace morvane {
namespace {

using test::ScopedComPort;
using test::SimulatedLock;
using Texts = std::vector<std::string>;

constexpr const char* kCard = "0000000600400002";

// Everything the click touches in the window, recorded.
struct RecordingWindow : ModifierKeys, MessageSink, ComPortList {
    struct Box : TextTarget {
        void setText(const std::string& text) override { writes.push_back(text); }
        Texts writes;
    };

    bool ctrlHeld() const override { return ctrl; }
    bool shiftHeld() const override { return shift; }
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    std::string currentText() const override { return entries.empty() ? "" : entries.front(); }
    void setEntries(const Texts& list) override {
        entries = list;
        ++fills;
    }

    ReadFromLock::Window window() { return {*this, *this, txtData, caption, *this}; }

    bool ctrl = false;
    bool shift = false;
    Texts messages;
    Box txtData;
    Box caption;
    Texts entries;
    int fills = 0;
};

// A lock component of somebody else's, with status numbers of its own.
struct ScriptedLock : LockControl {
    void setPort(std::int16_t p) override { calls.push_back("port " + std::to_string(p)); }
    void setWaitValue(std::int16_t w) override { calls.push_back("wait " + std::to_string(w)); }
    std::int32_t readCard() override {
        calls.push_back("readCard");
        return status;
    }
    std::int32_t readLockInfo() override {
        calls.push_back("readLockInfo");
        return status;
    }
    std::int32_t statusSuccess() const override { return 40; }
    std::int32_t statusCancelled() const override { return 41; }
    std::int32_t statusTimeout() const override { return 42; }
    std::int32_t statusError() const override { return 43; }
    std::string cardData() const override { return card; }
    std::string lockInfo() const override { return "Door 12"; }
    std::int32_t errorKind() const override { return kind; }
    std::string errorDescription() const override { return "The lock reported error 17."; }
    std::string aboutText() const override { return "about the lock"; }
    void reset() override { calls.push_back("reset"); }

    std::int32_t status = 40;
    std::int32_t kind = 0;
    std::string card = kCard;
    Texts calls;
};

struct Click {
    RecordingWindow window;
    ScriptedLock lock;
    std::set<std::int16_t> openPorts{3, 5};
    Texts probed;

    ReadFromLock control() {
        return ReadFromLock(window.window(), lock, [this](std::int16_t port) {
            probed.push_back(std::to_string(port));
            return openPorts.contains(port);
        });
    }
};

TEST(ReadFromLock, CtrlShowsTheControlsTextAndCallsItEvenWithoutAPort) {
    for (bool shift : {false, true}) {
        Click click;
        click.window.ctrl = true;
        click.window.shift = shift;
        click.control().cmdGetCard_Click();
        EXPECT_EQ(click.window.messages, Texts{"about the lock"});
        EXPECT_EQ(click.lock.calls, Texts{"reset"});
        EXPECT_TRUE(click.probed.empty()) << "no port is needed here";
        EXPECT_EQ(click.window.fills, 0);
        EXPECT_TRUE(click.window.txtData.writes.empty());
        EXPECT_TRUE(click.window.caption.writes.empty());
    }
}

TEST(ReadFromLock, EmptyPortListAsksForAPortAndLooksAgain) {
    Click click;
    click.control().cmdGetCard_Click();
    EXPECT_EQ(click.window.messages, Texts{"No comport selected"});
    EXPECT_EQ(click.window.entries, (Texts{"3", "5"})) << "a port that came free is listed";
    EXPECT_TRUE(click.lock.calls.empty());
    EXPECT_TRUE(click.window.txtData.writes.empty());
}

TEST(ReadFromLock, SelectedPortThatNoLongerOpensIsReportedAndTheListRefilled) {
    for (const char* selected : {"7", "70000", "x"}) {
        Click click;
        click.window.entries = {selected};
        click.control().cmdGetCard_Click();
        EXPECT_EQ(click.window.messages, Texts{"Error opening selected comport"}) << selected;
        EXPECT_EQ(click.window.entries, (Texts{"3", "5"}));
        EXPECT_TRUE(click.lock.calls.empty());
        EXPECT_TRUE(click.window.caption.writes.empty());
    }
}

struct CardReadCase {
    std::int32_t status;
    std::int32_t kind;
    std::string card;
    Texts messages;
    Texts txtData;
};

TEST(ReadFromLock, CardReadMapsEachStatusToItsMessageOrTheCardData) {
    const CardReadCase cases[] = {
        {40, 0, kCard, {}, {"", kCard}},
        {40, 0, "", {}, {"", ""}},  // an empty card: the box stays empty
        {41, 0, kCard, {"Cancelled"}, {""}},
        {42, 0, kCard, {"Timeout"}, {""}},
        {43, 2, kCard, {"Error Opening Com Port"}, {""}},
        {43, 4, kCard, {"The lock reported error 17."}, {""}},
        {99, 0, kCard, {}, {""}},  // matches none of the four: nothing shown
    };
    for (const CardReadCase& c : cases) {
        Click click;
        click.window.entries = {"5", "3"};
        click.lock.status = c.status;
        click.lock.kind = c.kind;
        click.lock.card = c.card;
        click.control().cmdGetCard_Click();
        EXPECT_EQ(click.lock.calls, (Texts{"port 5", "wait 7500", "readCard"})) << c.status;
        EXPECT_EQ(click.window.messages, c.messages) << c.status;
        EXPECT_EQ(click.window.txtData.writes, c.txtData) << c.status;
        EXPECT_EQ(click.window.caption.writes,
                  (Texts{"press 'ESC' to cancel", "Read Card From Lock"}))
            << c.status;
        EXPECT_EQ(click.window.fills, 0) << "only a port that fails to open refills the list";
    }
}

struct ShiftCase {
    std::int32_t status;
    std::int32_t kind;
    Texts messages;
};

TEST(ReadFromLock, ShiftRequestShowsItsResultButNeverTouchesTheCardDataOrTheCaption) {
    const ShiftCase cases[] = {
        {40, 0, {"Door 12"}},
        {41, 0, {"Cancelled"}},
        {42, 0, {"Timeout"}},
        {43, 2, {"The lock reported error 17."}},  // kind 2 has no message of its own here
        {43, 1, {"The lock reported error 17."}},
        {-1, 0, {}},
    };
    for (const ShiftCase& c : cases) {
        Click click;
        click.window.entries = {"3"};
        click.window.shift = true;
        click.lock.status = c.status;
        click.lock.kind = c.kind;
        click.control().cmdGetCard_Click();
        EXPECT_EQ(click.lock.calls, (Texts{"port 3", "wait 5000", "readLockInfo"})) << c.status;
        EXPECT_EQ(click.window.messages, c.messages) << c.status;
        EXPECT_TRUE(click.window.txtData.writes.empty()) << c.status;
        EXPECT_TRUE(click.window.caption.writes.empty()) << c.status;
    }
}

// The same click over the real component, the real port probe and the simulator.
struct ClickOnLock {
    explicit ClickOnLock(const std::vector<std::string>& arguments)
        : lock(arguments), port(2, lock.device()) {}

    SimulatedLock lock;
    ScopedComPort port;
    RecordingWindow window;
    LockReader reader;
    ReadFromLock click{window.window(), reader};
};

TEST(ReadFromLockOnASimulatedLock, ListsALockThatCameFreeAfterAnEmptyStart) {
    RecordingWindow window;
    LockReader reader;
    ReadFromLock click(window.window(), reader);
    click.FillComPortList();
    EXPECT_EQ(window.entries, Texts{});

    SimulatedLock lock({"answer"});
    ScopedComPort eight(8, lock.device());
    click.cmdGetCard_Click();
    EXPECT_EQ(window.messages, Texts{"No comport selected"});
    EXPECT_EQ(window.entries, Texts{"8"});
    click.cmdGetCard_Click();
    EXPECT_EQ(window.txtData.writes, (Texts{"", kCard}));
}

TEST(ReadFromLockOnASimulatedLock, PortThatPassedTheCheckButWouldNotOpenForTheRead) {
    RecordingWindow window;
    window.entries = {"4"};
    LockReader reader;
    ReadFromLock click(window.window(), reader, [](std::int16_t) { return true; });
    click.cmdGetCard_Click();
    EXPECT_EQ(window.messages, Texts{"Error Opening Com Port"});
    EXPECT_EQ(window.txtData.writes, Texts{""});
    EXPECT_EQ(window.caption.writes.back(), "Read Card From Lock");
}

TEST(ReadFromLockOnASimulatedLock, ShowsTheLocksInformationOnShift) {
    ClickOnLock setup({"answer", "--info", "Door 12, firmware 2.1"});
    setup.click.FillComPortList();
    setup.window.shift = true;
    setup.click.cmdGetCard_Click();
    EXPECT_EQ(setup.window.messages, Texts{"Door 12, firmware 2.1"});
    EXPECT_TRUE(setup.lock.waitForReport("received: INFO 5000"));
}

// The one slow test: the card read's wait value really bounds the wait.
TEST(ReadFromLockOnASimulatedLock, CardReadGivesUpAfterAboutSevenAndAHalfSeconds) {
    ClickOnLock setup({"silent"});
    setup.click.FillComPortList();
    QElapsedTimer clock;
    clock.start();
    setup.click.cmdGetCard_Click();
    const qint64 waited = clock.elapsed();
    EXPECT_EQ(setup.window.messages, Texts{"Timeout"});
    EXPECT_GE(waited, 7500);
    EXPECT_LT(waited, 10500);
    EXPECT_EQ(setup.window.txtData.writes, Texts{""});
}

}  // namespace
}  // namespace morvane
