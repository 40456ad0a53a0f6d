// "Read from USB", "Reinitialize USB", "Read from Lock" and the COM port list in the real window:
// the window's own glue, against the reader emulator run by the real reader host and against
// locks on pseudo-terminals. The readers' own rules are tested with the readers.
#include <QComboBox>
#include <QFile>
#include <QTemporaryDir>
#include <QTimer>
#include <fstream>
#include <optional>

#include "app/window_fixture.h"
#include "lock_test_support.h"
#include "readers/reader_host_client.h"

namespace morvane::test {
namespace {

const QString kMarkedCaption = QStringLiteral("Morvane [v2.4.0] {pcProx USB Reader Detected}");

// A program folder holding the shipped Default.hwg and the emulator's scenario (the readers
// plugged in and the card on the active one), reached through the real reader host; each test
// opens the window itself.
class UsbWindow : public WindowTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        programFolder = QFile::encodeName(folder.path()).toStdString();
        ASSERT_TRUE(QFile::copy(QStringLiteral(MORVANE_SHIPPED_DEFAULT_HWG), path("Default.hwg")));
        qputenv("MORVANE_PCPROX_LIBRARY", MORVANE_PCPROX_SIM);
        qputenv("MORVANE_PCPROX_SIM_SCENARIO", QFile::encodeName(path("scenario")));
    }
    void TearDown() override {
        window.reset();
        qunsetenv("MORVANE_PCPROX_LIBRARY");
        qunsetenv("MORVANE_PCPROX_SIM_SCENARIO");
    }
    std::unique_ptr<ReaderLibrary> readerLibrary() const override {
        return std::make_unique<ReaderHostClient>(MORVANE_READER_HOST, programFolder);
    }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    void scenario(const std::string& text) {
        std::ofstream(path("scenario").toStdString(), std::ios::binary) << text;
    }
    QWidget* readButton() const { return control("btnReadUSB"); }
    QTemporaryDir folder;
};

// A library that dies in the middle of a read costs the read, not what the operator typed.
TEST_F(UsbWindow, ReadFromUsbReplacesTheCardDataAndItsSplitAndACrashCostsTheReadOnly) {
    scenario("reader 3\ncard 26 F66073\ncrash GetActiveID\n");
    open();
    showPage(1);
    box("txtBoxSerialNo")->setText("12345");
    retype("txtData", "0000000600400002");
    click("cmdStart");
    ASSERT_EQ(text("txt26Num"), "1");
    click(readButton());
    EXPECT_EQ(texts({"txtBoxSerialNo", "txtData"}), "12345|");
    ASSERT_EQ(messages.shown.size(), 1U);
    const Message& m = messages.shown.front();
    EXPECT_EQ(m.text + " / " + m.title, "No Data Read from Card / RFIDeas pcProx (CRP2) Status");
    EXPECT_TRUE(m.icon == QMessageBox::Critical && m.buttons == QMessageBox::Ok);
    messages.shown.clear();
    retype("txtData", "0000000600400002");
    click("cmdStart");
    scenario("reader 3\ncard 26 F66073\n");
    click(readButton());
    EXPECT_EQ(focusName(), "txtData");
    EXPECT_EQ(texts({"txtData", "txt26Num"}), "0000000475460163|");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UsbWindow, TheReadersEnableReadMarkTheCaptionOnceForGoodAndFillTheHiddenLuidBoxes) {
    scenario("reader 3\nreader 5\n");
    open();
    EXPECT_TRUE(readButton()->isEnabled());
    EXPECT_EQ(window->windowTitle(), kMarkedCaption);
    auto* list = control<QComboBox>("LuidList");
    box("LuidEntry")->setText("7");
    click("btnReinitializeUSB");
    EXPECT_EQ(window->windowTitle(), kMarkedCaption);
    EXPECT_EQ(text("LuidEntry"), "");
    EXPECT_EQ(QStringList({QString::number(list->count()), list->itemText(0) + list->itemText(1),
                           list->currentText(), list->currentData().toString()})
                  .join(' '),
              "2 37 7 7");
    EXPECT_FALSE(list->isVisible() || box("LuidEntry")->isVisible());

    scenario("");
    click("btnReinitializeUSB");
    EXPECT_FALSE(readButton()->isEnabled());
    EXPECT_EQ(window->windowTitle(), kMarkedCaption);
    EXPECT_TRUE(messages.shown.empty());
}

constexpr const char* kCard = "0000000600400002";

class LockButton : public WindowTest {
  protected:
    void SetUp() override {}  // the window probes the ports as it opens: each test sets them first
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
    open();
    showPage(1);
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
    open();
    showPage(1);
    // The caption's change moves no other button.
    const auto placed = [this] {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        return QString("%1 %2").arg(control("cmdGetCard")->width()).arg(control("btnReadUSB")->x());
    };
    EXPECT_EQ(control<QPushButton>("cmdGetCard")->text(), "Read from Lock");
    const QString before = placed();
    QString during;
    // The first turn of the event loop after the click is the wait for the lock.
    QTimer::singleShot(0, window.get(), [&, this] {
        during = placed();
        QTest::keyClicks(box("txtData"), "123");
        click("cmdStart");
        QTest::keyClick(window->windowHandle(), Qt::Key_X, Qt::AltModifier);
        press(Qt::Key_Escape);
    });
    readFromLock();
    EXPECT_EQ(messages.take(), QStringList{"Cancelled"});
    EXPECT_EQ(during, before);
    EXPECT_EQ(lock.received(2), (std::vector<std::string>{"READ 7500", "CANCEL"}));
    EXPECT_EQ(texts({"txtData", "txtBits"}), "|") << "the keys typed and Split Data got through";
    EXPECT_TRUE(clipboard.placed.isEmpty()) << "E&xit was pressed";
    press(Qt::Key_Escape);
    EXPECT_EQ(clipboard.placed, QStringList{"Cancel"});
}

}  // namespace
}  // namespace morvane::test
