// "Read from Lock" and the COM port list in the real window, against locks on pseudo-terminals.
#include <QComboBox>
#include <QTabWidget>
#include <QTimer>
#include <optional>

#include "app/window_fixture.h"
#include "lock_test_support.h"

namespace morvane::test {
namespace {

constexpr const char* kCard = "0000000600400002";

class LockButton : public WindowTest {
  protected:
    // The window probes the ports as it opens, so each test sets up its ports first.
    void SetUp() override {}
    void openOnSplitData() {
        open();
        control<QTabWidget>("SSTab1")->setCurrentIndex(1);
    }
    void readFromLock(Qt::KeyboardModifiers keys = {}) {
        QTest::mouseClick(control("cmdGetCard"), Qt::LeftButton, keys);
    }
    QStringList ports() const {
        auto* combo = control<QComboBox>("ComboComPort");
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i) entries << combo->itemText(i);
        return entries << combo->currentText();
    }
};

TEST_F(LockButton, TheClickReadsTheCardAskedForAndTheListIsFilledAfreshWhenAPortWent) {
    SimulatedLock lock({"answer", "--card", kCard, "--info", "Door 12", "--delay", "0"});
    SimulatedLock other({"silent"});
    std::optional<ScopedComPort> portOne(std::in_place, 1, lock.device());
    ScopedComPort portThree(3, other.device());
    openOnSplitData();
    EXPECT_EQ(ports(), (QStringList{"1", "3", "1"}));
    readFromLock();
    EXPECT_EQ(text("txtData"), kCard);
    EXPECT_EQ(control<QPushButton>("cmdGetCard")->text(), "Read Card From Lock");
    readFromLock(Qt::ShiftModifier);
    EXPECT_EQ(messages.take(), QStringList{"Door 12"});
    readFromLock(Qt::ControlModifier);
    EXPECT_TRUE(messages.take().value(0).startsWith("Morvane lock reader"));
    portOne.reset();
    readFromLock();
    EXPECT_EQ(messages.take(), QStringList{"Error opening selected comport"});
    EXPECT_EQ(ports(), (QStringList{"3", "3"}));
}

TEST_F(LockButton, WhileTheLockIsAwaitedOnlyEscReachesTheWindowAndItCancelsTheRead) {
    SimulatedLock lock({"silent"});
    ScopedComPort port(1, lock.device());
    openOnSplitData();
    // The first turn of the event loop after the click is the wait for the lock.
    QTimer::singleShot(0, window.get(), [this] {
        QTest::keyClicks(box("txtData"), "123");
        click(control("cmdStart"));
        QTest::keyClick(window->windowHandle(), Qt::Key_X, Qt::AltModifier);
        press(Qt::Key_Escape);
    });
    readFromLock();
    EXPECT_EQ(messages.take(), QStringList{"Cancelled"});
    EXPECT_EQ(lock.received(2), (std::vector<std::string>{"READ 7500", "CANCEL"}));
    EXPECT_EQ(text("txtData"), "");
    EXPECT_EQ(text("txtBits"), "") << "Split Data was pressed";
    EXPECT_TRUE(clipboard.placed.isEmpty()) << "E&xit was pressed";
    press(Qt::Key_Escape);
    EXPECT_EQ(clipboard.placed, QStringList{"Cancel"});
}

}  // namespace
}  // namespace morvane::test
