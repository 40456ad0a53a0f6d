// "Read from USB" and "Reinitialize USB" in the real window, against the reader emulator run by
// the real reader host, bound through the same dlopen path as a real reader library.
#include <QComboBox>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "app/window_fixture.h"

namespace morvane::test {
namespace {

const QString kPlainCaption = QStringLiteral("Morvane [v2.4.0]");
const QString kMarkedCaption = QStringLiteral("Morvane [v2.4.0] {pcProx USB Reader Detected}");

// An environment variable a test may set or take away; what was there before comes back when
// the test ends.
class ScopedVariable {
  public:
    explicit ScopedVariable(const char* name)
        : name_(name), had_(qEnvironmentVariableIsSet(name)), old_(qgetenv(name)) {}
    ~ScopedVariable() { set(had_ ? std::optional(old_) : std::nullopt); }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

    void set(const std::optional<QByteArray>& value) {
        if (value) {
            qputenv(name_, *value);
        } else {
            qunsetenv(name_);
        }
    }

  private:
    const char* name_;
    bool had_;
    QByteArray old_;
};

// A fresh program folder per test holding the shipped Default.hwg, the emulator's scenario and
// its call log. The window is opened by each test once the scenario is written.
class UsbWindow : public WindowTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        programFolder = QFile::encodeName(folder.path()).toStdString();
        ASSERT_TRUE(QFile::copy(QStringLiteral(MORVANE_SHIPPED_DEFAULT_HWG), path("Default.hwg")));
        ASSERT_TRUE(QFile::link(QStringLiteral(MORVANE_READER_HOST), path("morvane-reader-host")));
        library.set(QByteArrayLiteral(MORVANE_PCPROX_SIM));
        scenarioFile.set(QFile::encodeName(path("scenario")));
        callLog.set(QFile::encodeName(path("calls.log")));
    }
    void TearDown() override { window.reset(); }

    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    // The hardware: which readers are plugged in and which card lies on the active one.
    void scenario(const std::string& text) {
        std::ofstream(path("scenario").toStdString(), std::ios::binary) << text;
    }
    void openOnSplitData() {
        open();
        control<QTabWidget>("SSTab1")->setCurrentIndex(1);
    }

    QPushButton* readButton() const { return control<QPushButton>("btnReadUSB"); }
    void readFromUsb() { click(readButton()); }
    void reinitialize() { click(control<QPushButton>("btnReinitializeUSB")); }
    QString caption() const { return window->windowTitle(); }

    std::vector<std::string> calls() const {
        std::ifstream in(path("calls.log").toStdString());
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }
    int callsStartingWith(const std::string& name) const {
        int count = 0;
        for (const std::string& c : calls()) count += c.starts_with(name) ? 1 : 0;
        return count;
    }

    QTemporaryDir folder;
    ScopedVariable library{"MORVANE_PCPROX_LIBRARY"};
    ScopedVariable scenarioFile{"MORVANE_PCPROX_SIM_SCENARIO"};
    ScopedVariable callLog{"MORVANE_PCPROX_SIM_LOG"};
};

TEST_F(UsbWindow, ReadFromUsbFillsTheCardDataAndSplitDataShowsTheCard) {
    scenario("reader 3\ncard 26 F66073\n");
    openOnSplitData();
    // Results of an earlier split must not stand beside the card just read.
    retype("txtData", "0000000600400002");
    click(control<QPushButton>("cmdStart"));
    ASSERT_EQ(text("txt26Num"), "1");

    readFromUsb();
    EXPECT_EQ(focusName(), "txtData");
    EXPECT_EQ(text("txtData"), "0000000475460163");
    EXPECT_EQ(text("txt26Num"), "");
    EXPECT_EQ(callsStartingWith("GetActiveID 8 = 26"), 1);

    click(control<QPushButton>("cmdStart"));
    EXPECT_EQ(text("txt26Num"), "12345");
    EXPECT_EQ(text("txt26Fac"), "123");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UsbWindow, ReadFromUsbShowsWhatTheCardGivesWithTheRightBox) {
    struct Case {
        const char* card;
        const char* cardData;
        std::optional<Message> shown;
    };
    const Message noData{.text = "No Data Read from Card",
                         .title = "RFIDeas pcProx (CRP2) Status",
                         .icon = QMessageBox::Critical,
                         .buttons = QMessageBox::Ok};
    const Message undefined{.text = "Undefined card format / facility code"};
    for (const Case& c : {
             Case{"card none", "", noData},
             Case{"card 32 12345678", "", undefined},
             Case{"card 42 F600006072", "????????????????", std::nullopt},  // Casi
             Case{"card 26 F66073\ncrash GetActiveID", "", noData},
         }) {
        SCOPED_TRACE(c.card);
        scenario(std::string("reader 3\n") + c.card + "\n");
        openOnSplitData();
        retype("txtData", "7");
        messages.shown.clear();

        readFromUsb();
        ASSERT_EQ(messages.shown.size(), c.shown ? 1U : 0U);
        if (c.shown) {
            const Message& m = messages.shown.front();
            EXPECT_EQ(m.text, c.shown->text);
            EXPECT_EQ(m.title, c.shown->title);
            EXPECT_EQ(m.icon, c.shown->icon);
            EXPECT_EQ(m.buttons, c.shown->buttons);
        }
        EXPECT_EQ(text("txtData"), c.cardData);
    }
}

// A library that dies in the middle of a read costs the read, not what the operator typed.
TEST_F(UsbWindow, ACrashingLibraryLeavesTheTypedDataAndTheNextReadWorks) {
    scenario("reader 3\ncard 26 F66073\ncrash GetActiveID\n");
    open();
    box("txtBoxSerialNo")->setText("12345");
    readFromUsb();
    EXPECT_EQ(text("txtBoxSerialNo"), "12345");
    scenario("reader 3\ncard 26 F66073\n");
    readFromUsb();
    EXPECT_EQ(text("txtData"), "0000000475460163");
}

TEST_F(UsbWindow, StartUpWithAUsableReaderEnablesReadAndMarksTheCaptionOnce) {
    scenario("reader 3\n");
    openOnSplitData();
    EXPECT_TRUE(readButton()->isEnabled());
    EXPECT_EQ(caption(), kMarkedCaption);
    // Default.hwg was found in the program's folder and written to the reader.
    EXPECT_EQ(callsStartingWith("WriteCfg"), 1);

    reinitialize();
    reinitialize();
    EXPECT_TRUE(readButton()->isEnabled());
    EXPECT_EQ(caption(), kMarkedCaption);
    EXPECT_EQ(callsStartingWith("WriteCfg"), 3);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UsbWindow, AfterUnpluggingReinitializeDisablesReadButKeepsTheMarker) {
    scenario("reader 3\n");
    openOnSplitData();
    ASSERT_TRUE(readButton()->isEnabled());

    scenario("");
    reinitialize();
    EXPECT_FALSE(readButton()->isEnabled());
    EXPECT_EQ(caption(), kMarkedCaption);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UsbWindow, TheHiddenLuidBoxesFollowTheReaders) {
    scenario("reader 3\nreader 5\n");
    openOnSplitData();
    auto* list = control<QComboBox>("LuidList");
    // At the first start the last reader listed is the one programmed and selected.
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), "3");
    EXPECT_EQ(list->itemText(1), "5");
    EXPECT_EQ(list->currentIndex(), 1);

    box("LuidEntry")->setText("7");
    reinitialize();
    EXPECT_EQ(callsStartingWith("SetLUID 7 "), 1);
    EXPECT_EQ(text("LuidEntry"), "");
    ASSERT_EQ(list->count(), 2);
    EXPECT_EQ(list->itemText(0), "3");
    EXPECT_EQ(list->itemText(1), "7");
    EXPECT_EQ(list->currentIndex(), 1);
    EXPECT_EQ(list->currentData().toInt(), 7);
    EXPECT_FALSE(list->isVisible());
    EXPECT_FALSE(box("LuidEntry")->isVisible());
}

}  // namespace
}  // namespace morvane::test
