// "Read from USB", "Reinitialize USB", "Read from Lock" and the COM port list in the real window:
// the window's own glue, against the reader emulator run by the real reader host and against
// locks on pseudo-terminals. The readers' own rules are tested with the readers.
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QTemporaryDir>
#include <QTimer>
#include <sys/stat.h>

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
        qputenv("MORVANE_PCPROX_SIM_LOG", QFile::encodeName(path("calls.log")));
        qputenv("MORVANE_PCPROX_SIM_HOLD", QFile::encodeName(path("release")));
        ASSERT_EQ(mkfifo(QFile::encodeName(path("release")).constData(), 0600), 0);
    }
    void TearDown() override {
        window.reset();
        for (const char* name : {"LIBRARY", "SIM_SCENARIO", "SIM_LOG", "SIM_HOLD"})
            qunsetenv(QByteArray("MORVANE_PCPROX_") + name);
    }
    std::unique_ptr<ReaderLibrary> readerLibrary() const override {
        return std::make_unique<ReaderHostClient>(MORVANE_READER_HOST, programFolder, callTimeout);
    }
    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    void scenario(const std::string& text) {
        std::ofstream(path("scenario").toStdString(), std::ios::binary) << text;
    }
    QWidget* readButton() const { return control("btnReadUSB"); }
    // The emulator holds `call` (a scenario's hold line) until the release FIFO is written.
    void awaitHeld(const std::string& call) const {
        ASSERT_TRUE(QTest::qWaitFor([&] {
            std::ifstream in(path("calls.log").toStdString());
            const std::string log(std::istreambuf_iterator<char>(in), {});
            return log.find(call + " held") != std::string::npos;
        }));
    }
    void clickAndAwait(QWidget* button) {
        click(button);
        awaitReaderStep();
    }
    QTemporaryDir folder;
    std::chrono::milliseconds callTimeout = kReaderCallTimeout;
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
    clickAndAwait(readButton());
    EXPECT_EQ(texts({"txtBoxSerialNo", "txtData"}), "12345|");
    ASSERT_EQ(messages.shown.size(), 1U);
    const Message& m = messages.shown.front();
    EXPECT_EQ(m.text + " / " + m.title, "No Data Read from Card / RFIDeas pcProx (CRP2) Status");
    EXPECT_TRUE(m.icon == QMessageBox::Critical && m.buttons == QMessageBox::Ok);
    messages.shown.clear();
    retype("txtData", "0000000600400002");
    click("cmdStart");
    scenario("reader 3\ncard 26 F66073\n");
    clickAndAwait(readButton());
    EXPECT_EQ(focusName(), "txtData");
    EXPECT_EQ(texts({"txtData", "txt26Num"}), "0000000475460163|");
    EXPECT_TRUE(messages.shown.empty());
}

// The reader's bit count tells apart formats the card data alone cannot, for as long as the box
// holds what the reader gave.
TEST_F(UsbWindow, TheReadersBitCountRanksTheSplitUntilTheCardDataIsEdited) {
    scenario("reader 3\ncard 37 7B06073\n");
    open();
    showPage(1);
    const auto firstLine = [this] {
        click("cmdStart");
        return control("bitMap")->accessibleDescription().section(':', 0, 0).toStdString();
    };
    clickAndAwait(readButton());
    EXPECT_EQ(firstLine(), "most likely 37 Bit V or 37 Bit");
    retype("txtData", text("txtData"));
    EXPECT_EQ(firstLine(), "most likely 36 Bit V, 37 Bit V, 37 Bit or Casi");
}

TEST_F(UsbWindow, TheReadersEnableReadMarkTheCaptionOnceForGoodAndFillTheHiddenLuidBoxes) {
    scenario("reader 3\nreader 5\n");
    open();
    auto* list = control<QComboBox>("LuidList");
    box("LuidEntry")->setText("7");
    clickAndAwait(control("btnReinitializeUSB"));
    EXPECT_EQ(text("LuidEntry"), "");
    EXPECT_EQ(QStringList({QString::number(list->count()), list->itemText(0) + list->itemText(1),
                           list->currentText(), list->currentData().toString()})
                  .join(' '),
              "2 37 7 7");
    EXPECT_FALSE(list->isVisible() || box("LuidEntry")->isVisible());

    scenario("reader 3\ncrash WriteCfg\n");  // its library dies while the reader is programmed
    clickAndAwait(control("btnReinitializeUSB"));
    EXPECT_FALSE(readButton()->isEnabled());
    EXPECT_EQ(window->windowTitle(), kMarkedCaption);
    EXPECT_TRUE(messages.shown.empty());
}

struct PaintCounter : QObject {
    int count = 0;
    bool eventFilter(QObject*, QEvent* event) override {
        count += event->type() == QEvent::Paint ? 1 : 0;
        return false;
    }
};

// The emulator holds one call until the test releases it: meanwhile, at start-up, during
// "Reinitialize USB" and during "Read from USB", the window is up, switches tabs and paints,
// and only the step's button shows the step, pressed, with every reader button held still.
TEST_F(UsbWindow, WhileALibraryCallIsHeldTheWindowIsShownSwitchesTabsAndPaints) {
    const struct {
        const char* button;  // the step's
        bool clicked;        // else the start-up search
        std::string heldCall;
    } rows[] = {
        {"btnReinitializeUSB", false, "USBConnect"},
        {"btnReinitializeUSB", true, "USBConnect"},
        {"btnReadUSB", true, "GetActiveID"},
    };
    callTimeout = readerStepDeadline = std::chrono::minutes(10);  // the test alone releases
    const std::string plugged = "reader 3\ncard 26 F66073\n";
    for (const auto& row : rows) {
        SCOPED_TRACE(row.heldCall + " held by " + row.button);
        const std::string held = plugged + "hold " + row.heldCall + "\n";
        QFile::remove(path("calls.log"));
        scenario(row.clicked ? plugged : held);
        open({}, row.clicked);
        if (row.clicked) {
            scenario(held);
            click(row.button);
        }
        awaitHeld(row.heldCall);
        EXPECT_TRUE(control<QPushButton>(row.button)->isDown());
        EXPECT_FALSE(readButton()->isEnabled() || control("btnReinitializeUSB")->isEnabled() ||
                     control("cmdGetCard")->isEnabled());
        auto* tabs = control<QTabWidget>("SSTab1");
        const int other = 1 - tabs->currentIndex();
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, {},
                          tabs->tabBar()->tabRect(other).center());
        EXPECT_EQ(tabs->currentIndex(), other);
        PaintCounter paints;
        window->installEventFilter(&paints);
        window->update();
        EXPECT_TRUE(QTest::qWaitFor([&] { return paints.count > 0; }));
        std::ofstream(path("release").toStdString()) << '\n';  // the held call answers
        awaitReaderStep();
        EXPECT_EQ(window->windowTitle(), kMarkedCaption);
        EXPECT_TRUE(readButton()->isEnabled() && !control<QPushButton>(row.button)->isDown());
        window.reset();
    }
}

// The runner alone, the emulator holding its call: a missed deadline ends the step as a failed
// one and drops its late answer; closing ends it without waiting out the library.
TEST_F(UsbWindow, ReaderStepsRunOneAtATimeAndADeadlineOrClosingEndsTheStep) {
    const struct {
        std::string heldCall;  // GetActiveID: a card read, USBConnect: a reinitialise
        bool closed;           // else the deadline passes
        std::string outcomes;  // each ends with '|'
    } rows[] = {
        {"GetActiveID", false, "No Data Read from Card|"},
        {"USBConnect", false, "none |"},
        {"GetActiveID", true, ""},
    };
    callTimeout = std::chrono::minutes(10);  // only the step's end lets a held call go
    for (const auto& row : rows) {
        SCOPED_TRACE(row.heldCall + (row.closed ? " closed" : " late"));
        scenario("reader 3\ncard 26 F66073\nhold " + row.heldCall + "\n");
        QFile::remove(path("calls.log"));
        auto steps = std::make_unique<ReaderSteps>(
            readerLibrary(), programFolder, row.closed ? callTimeout : std::chrono::milliseconds(1));
        std::string outcomes;
        QObject::connect(steps.get(), &ReaderSteps::cardRead, [&](const CardReadOutcome& o) {
            outcomes += (o.messages.empty() ? "" : o.messages[0].text) + o.cardData + "|";
        });
        QObject::connect(steps.get(), &ReaderSteps::reinitialized, [&](const auto& o) {
            outcomes += (o.readerFound ? "found " : "none ") + o.luidList.textAt(0) + "|";
        });
        ASSERT_TRUE(row.heldCall == "USBConnect" ? steps->reinitialize("") : steps->readCard());
        EXPECT_FALSE(steps->readCard() || steps->reinitialize(""));
        if (row.closed) {
            awaitHeld(row.heldCall);
            steps.reset();
        }
        EXPECT_TRUE(QTest::qWaitFor([&] { return !steps || !steps->busy(); }, 60'000));
        EXPECT_EQ(outcomes, row.outcomes);
    }

}

// The card on the reader against the prox data shown: the status line and the bit map's first
// line say the same, never a message box; a fault costs the check only, and nothing typed or
// read before changes.
TEST_F(UsbWindow, CheckCardSaysWhetherTheCardOnTheReaderIsTheOneTyped) {
    const struct {
        const char* card;
        const char* facility;
        const char* said;
    } cases[] = {
        {"card 26 F66073\n", "123", "Card check: matches"},
        {"card 26 F66073\n", "124", "Card check: facility code 123 on the card, 124 typed"},
        {"card 37 7B06073\n", "123",
         "Card check: the card is not a 26 Bit credential (most likely 37 Bit V or 37 Bit)"},
        {"", "123", "could not read the card: No Data Read from Card"},
        {"card 26 F66073\ncrash GetActiveID\n", "123",
         "could not read the card: No Data Read from Card"},
    };
    scenario("reader 3\n");
    open();
    click("opt26Bit");
    box("txtBoxSerialNo")->setText("12345");
    for (const auto& c : cases) {
        scenario(std::string("reader 3\n") + c.card);
        box("txtFacilityCode")->setText(c.facility);
        click("cmdCheckCard");
        // One reader step at a time; the check's own button keeps the focus it has.
        EXPECT_EQ(control<QLabel>("lblCheck")->text(), "Checking the card…");
        EXPECT_TRUE(control("cmdCheckCard")->isEnabled() && !readButton()->isEnabled());
        awaitReaderStep();
        EXPECT_EQ(control<QLabel>("lblCheck")->text().toStdString(), c.said);
        if (QString(c.said).startsWith("Card check")) {
            EXPECT_EQ(control("bitMap")->accessibleDescription().section('.', 0, 0).toStdString(),
                      c.said);
        }
    }
    // The last check's differing bits, 25 and 19..17, are marked under the typed prox data.
    box("txtFacilityCode")->setText("124");
    scenario("reader 3\ncard 26 F66073\n");
    clickAndAwait(control("cmdCheckCard"));
    EXPECT_TRUE(control("bitMap")->accessibleDescription().endsWith(
        "\n" + QString(22, ' ') + "^     ^^^"));
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(texts({"txtBoxSerialNo", "txtFacilityCode", "txtData"}), "12345|124|");
    box("txtBoxSerialNo")->setText("12346");
    EXPECT_EQ(control<QLabel>("lblCheck")->text(), "") << "a check of other prox data stayed";
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
    const QRect usbButton = control("btnReadUSB")->geometry();
    EXPECT_EQ(control<QPushButton>("cmdGetCard")->text(), "Read from Lock");
    readFromLock();
    QCoreApplication::processEvents();
    EXPECT_EQ(control("btnReadUSB")->geometry(), usbButton) << "the new caption moved it";
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
        EXPECT_FALSE(control("btnReinitializeUSB")->isEnabled()) << "a lock read is a reader step";
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

// Without a USB reader the card is read from the lock on the Split Data page's port, and the
// card data box there is left as it was.
TEST_F(LockButton, CheckCardReadsTheLockWhenNoUsbReaderWasFound) {
    SimulatedLock lock({"answer", "--card", kCard, "--delay", "0"});
    ScopedComPort port(1, lock.device());
    open();
    click("opt26Bit");
    box("txtBoxSerialNo")->setText("1");
    box("txtFacilityCode")->setText("1");
    click("cmdCheckCard");
    EXPECT_EQ(control<QLabel>("lblCheck")->text(), "Card check: matches");
    EXPECT_EQ(text("txtData"), "");
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace morvane::test
