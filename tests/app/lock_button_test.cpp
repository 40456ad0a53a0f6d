// "Read from Lock" and the COM port list, driven through the real window against locks on
// pseudo-terminals: the lock simulator, or a bare terminal the test answers itself.
#include <QComboBox>
#include <QTabWidget>
#include <QTimer>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "app/window_fixture.h"
#include "lock_test_support.h"
#include "readers/lock/read_from_lock.h"

namespace morvane::test {
namespace {

constexpr const char* kCard = "0000000600400002";  // 26 bit, facility code 1, hotstamp 1

struct HeldKeys : ModifierKeys {
    bool ctrlHeld() const override { return ctrl; }
    bool shiftHeld() const override { return shift; }
    bool ctrl = false;
    bool shift = false;
};

class LockButton : public WindowTest {
  protected:
    // The window probes the ports as it opens, so each test sets up its ports first.
    void SetUp() override {}
    void TearDown() override { window.reset(); }

    void openWindow(const ModifierKeys* heldKeys) {
        window = std::make_unique<frmMorvane>(
            WindowServices{.messages = messages, .keys = heldKeys, .clipboard = clipboard});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        control<QTabWidget>("SSTab1")->setCurrentIndex(1);
    }
    void openWindow() { openWindow(&keys); }

    QPushButton* button() const { return control<QPushButton>("cmdGetCard"); }
    QString caption() const { return button()->text(); }
    void readFromLock() { click(button()); }

    QStringList ports() const {
        auto* combo = control<QComboBox>("ComboComPort");
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
        return entries;
    }
    QString selectedPort() const { return control<QComboBox>("ComboComPort")->currentText(); }

    // Card data split, so that the result boxes show whether its change handling ran.
    void splitCardData(const QString& cardData) {
        retype("txtData", cardData);
        click(control<QPushButton>("cmdStart"));
        ASSERT_FALSE(text("txt26Num").isEmpty());
    }

    // Runs `step` once a card read waits for the lock. The caption shows the wait from before
    // the port opens until the lock has answered, and nothing in between gives timers a turn.
    void onceACardReadWaits(std::function<void()> step) {
        auto* poll = new QTimer(window.get());
        poll->setInterval(20);
        QObject::connect(poll, &QTimer::timeout, window.get(), [this, poll, step] {
            if (caption() != kCaptionWaiting) return;
            poll->stop();
            step();
        });
        poll->start();
    }

    HeldKeys keys;
};

TEST_F(LockButton, NoPortAtStartUpAsksForOneAndListsAPortThatCameFreeSince) {
    openWindow();
    EXPECT_TRUE(ports().isEmpty());

    PseudoTerminal freed;
    ScopedComPort port(2, freed.device());
    retype("txtData", "123");
    readFromLock();
    EXPECT_EQ(messages.take(), QStringList{"No comport selected"});
    EXPECT_EQ(ports(), QStringList{"2"});
    EXPECT_EQ(selectedPort(), "2");
    EXPECT_EQ(caption(), "Read from Lock");
    EXPECT_EQ(text("txtData"), "123");
}

TEST_F(LockButton, ListsTheOpenablePortsInOrderAndSelectsTheFirstWithoutWritingToThem) {
    PseudoTerminal one;
    PseudoTerminal three;
    ScopedComPort portOne(1, one.device());
    ScopedComPort portThree(3, three.device());
    openWindow();
    EXPECT_EQ(ports(), (QStringList{"1", "3"}));
    EXPECT_EQ(selectedPort(), "1");
    EXPECT_EQ(one.pendingBytes(), "") << "probing a port sent something down the line";
    EXPECT_EQ(three.pendingBytes(), "");
}

TEST_F(LockButton, CardReadFillsTheCardDataBoxForSplitData) {
    SimulatedLock lock({"answer", "--card", kCard, "--delay", "300"});
    ScopedComPort port(1, lock.device());
    openWindow();
    splitCardData("7777777777777777");

    QString captionWhileWaiting, cardDataWhileWaiting, resultWhileWaiting;
    onceACardReadWaits([&] {
        captionWhileWaiting = caption();
        cardDataWhileWaiting = text("txtData");
        resultWhileWaiting = text("txt26Num");
    });
    readFromLock();
    EXPECT_EQ(captionWhileWaiting, "press 'ESC' to cancel");
    EXPECT_EQ(cardDataWhileWaiting, "");
    EXPECT_EQ(resultWhileWaiting, "") << "emptying the card data left old results standing";
    EXPECT_TRUE(messages.shown.empty()) << messages.texts().join('|').toStdString();
    EXPECT_EQ(text("txtData"), kCard);
    EXPECT_EQ(caption(), "Read Card From Lock");
    EXPECT_TRUE(lock.waitForReport("received: READ 7500"));

    // The card data is not split until the user asks.
    EXPECT_EQ(text("txt26Num"), "");
    click(control<QPushButton>("cmdStart"));
    EXPECT_EQ(text("txt26Num"), "1");
    EXPECT_EQ(text("txt26Fac"), "1");
}

TEST_F(LockButton, EscCancelsTheWaitingReadAndNeitherEndsTheProgramNorReachesTheWindow) {
    SimulatedLock lock({"silent"});
    ScopedComPort port(1, lock.device());
    openWindow();
    onceACardReadWaits([&] {
        // The window takes no other input while it waits: no typing, no Split Data, no Exit.
        QTest::keyClicks(box("txtData"), "123");
        click(control<QPushButton>("cmdStart"));
        QTest::keyClick(window->windowHandle(), Qt::Key_X, Qt::AltModifier);
        press(Qt::Key_Escape);
    });
    readFromLock();
    EXPECT_EQ(messages.take(), QStringList{"Cancelled"});
    EXPECT_TRUE(window->isVisible());
    EXPECT_TRUE(clipboard.placed.isEmpty())
        << "E&xit was pressed: " << clipboard.placed.join('|').toStdString();
    EXPECT_EQ(text("txtData"), "");
    EXPECT_EQ(text("txt26Num"), "") << "Split Data was pressed";
    EXPECT_EQ(caption(), "Read Card From Lock");
    EXPECT_TRUE(lock.waitForReport("received: CANCEL"));

    // Once the read is over Esc is the window's cancel key again.
    press(Qt::Key_Escape);
    EXPECT_EQ(clipboard.placed, QStringList{"Cancel"});
}

// A lock the test answers itself: it gives up with TIMEOUT as soon as a request reaches it.
class ImpatientLock {
  public:
    ImpatientLock() {
        QObject::connect(&poll_, &QTimer::timeout, &poll_, [this] {
            received_ += terminal_.pendingBytes();
            if (!answered_ && received_.find("\r\n") != std::string::npos) {
                answered_ = terminal_.send("TIMEOUT\r\n");
            }
        });
        poll_.start(10);
    }
    const std::string& device() const { return terminal_.device(); }
    const std::string& received() const { return received_; }

  private:
    PseudoTerminal terminal_;
    QTimer poll_;
    std::string received_;
    bool answered_ = false;
};

TEST_F(LockButton, TimeoutIsReportedAndTheCardDataStaysEmpty) {
    ImpatientLock lock;
    ScopedComPort port(1, lock.device());
    openWindow();
    splitCardData("7777777777777777");
    readFromLock();
    EXPECT_EQ(lock.received(), "READ 7500\r\n");
    EXPECT_EQ(messages.take(), QStringList{"Timeout"});
    EXPECT_EQ(text("txtData"), "");
    EXPECT_EQ(text("txt26Num"), "");
    EXPECT_EQ(caption(), "Read Card From Lock");
}

TEST_F(LockButton, LockErrorsAndBrokenAnswersShowTheirTextAndLeaveTheCardDataEmpty) {
    struct Case {
        std::vector<std::string> lock;
        QString message;
    };
    const Case cases[] = {
        {{"error", "--error-code", "17", "--error-text", "Card not readable"},
         "The lock reported error 17: Card not readable"},
        {{"garbage"}, "The lock sent a character that is not text (0x01)."},
        // A hung-up pseudo-terminal reads as end of data, and the reason the port gives then
        // depends on a stale system error; the lock reader's own tests pin it down.
        {{"hangup"}, "The connection to the lock on COM port 1 was lost: "},
    };
    for (const Case& c : cases) {
        SimulatedLock lock(c.lock);
        ScopedComPort port(1, lock.device());
        openWindow();
        retype("txtData", "123");
        readFromLock();
        ASSERT_EQ(messages.shown.size(), 1u) << c.lock[0];
        if (c.message.endsWith(": ")) {
            EXPECT_TRUE(messages.shown[0].text.startsWith(c.message))
                << messages.shown[0].text.toStdString();
        } else {
            EXPECT_EQ(messages.shown[0].text, c.message);
        }
        EXPECT_EQ(messages.shown[0].title, "Morvane");
        EXPECT_EQ(messages.shown[0].buttons, QMessageBox::Ok);
        messages.shown.clear();
        EXPECT_EQ(text("txtData"), "") << c.lock[0];
        EXPECT_EQ(caption(), "Read Card From Lock");
        EXPECT_TRUE(window->isVisible());
    }
}

TEST_F(LockButton, PortTakenAfterTheCheckIsErrorOpeningComPort) {
    PseudoTerminal terminal;
    std::optional<ScopedComPort> port(std::in_place, 1, terminal.device());
    openWindow();
    retype("txtData", "123");
    // Emptying the card data comes after the port check and before the lock reader opens the
    // port: the moment a USB serial adapter pulled out would be missed.
    QObject::connect(box("txtData"), &QLineEdit::textChanged, window.get(),
                     [&](const QString& now) {
                         if (now.isEmpty()) port.reset();
                     });
    readFromLock();
    EXPECT_EQ(messages.take(), QStringList{"Error Opening Com Port"});
    EXPECT_EQ(text("txtData"), "");
    EXPECT_EQ(caption(), "Read Card From Lock");
}

TEST_F(LockButton, ShiftAsksTheLockWhoItIsAndLeavesCardDataAndCaptionAlone) {
    SimulatedLock lock({"answer", "--info", "Door 12, firmware 3.1"});
    ScopedComPort port(1, lock.device());
    openWindow();
    retype("txtData", "123");
    keys.shift = true;
    readFromLock();
    EXPECT_EQ(messages.take(), QStringList{"Door 12, firmware 3.1"});
    EXPECT_TRUE(lock.waitForReport("received: INFO 5000"));
    EXPECT_EQ(text("txtData"), "123");
    EXPECT_EQ(caption(), "Read from Lock");
}

TEST_F(LockButton, CtrlShowsTheReadersTextWithoutAPortAndLeavesTheListAlone) {
    openWindow();
    PseudoTerminal freed;
    ScopedComPort port(2, freed.device());
    keys.ctrl = true;
    keys.shift = true;  // Ctrl wins
    readFromLock();
    ASSERT_EQ(messages.shown.size(), 1u);
    EXPECT_TRUE(messages.shown[0].text.startsWith("Morvane lock reader"))
        << messages.shown[0].text.toStdString();
    EXPECT_TRUE(ports().isEmpty()) << "the Ctrl form filled the port list";
    EXPECT_EQ(caption(), "Read from Lock");
}

TEST_F(LockButton, WithoutHeldKeysGivenTheKeyboardIsAskedAtTheClick) {
    SimulatedLock lock({"answer", "--card", kCard, "--info", "Door 12"});
    ScopedComPort port(1, lock.device());
    openWindow(nullptr);
    QTest::mouseClick(button(), Qt::LeftButton, Qt::ShiftModifier);
    EXPECT_EQ(messages.take(), QStringList{"Door 12"});
    EXPECT_EQ(text("txtData"), "");

    readFromLock();
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(text("txtData"), kCard);
}

}  // namespace
}  // namespace morvane::test
