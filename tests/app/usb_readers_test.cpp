// "Read from USB" and "Reinitialize USB" in the real window, against the reader emulator run by
// the real reader host: the window's own glue, the readers' rules being tested with the readers.
#include <QComboBox>
#include <QFile>
#include <QTabWidget>
#include <QTemporaryDir>
#include <fstream>
#include <string>

#include "app/window_fixture.h"

namespace morvane::test {
namespace {

const QString kMarkedCaption = QStringLiteral("Morvane [v2.4.0] {pcProx USB Reader Detected}");

// A fresh program folder per test holding the reader host, the shipped Default.hwg and the
// emulator's scenario. The window is opened by each test once the scenario is written.
class UsbWindow : public WindowTest {
  protected:
    void SetUp() override {
        ASSERT_TRUE(folder.isValid());
        programFolder = QFile::encodeName(folder.path()).toStdString();
        ASSERT_TRUE(QFile::copy(QStringLiteral(MORVANE_SHIPPED_DEFAULT_HWG), path("Default.hwg")));
        ASSERT_TRUE(QFile::link(QStringLiteral(MORVANE_READER_HOST), path("morvane-reader-host")));
        qputenv("MORVANE_PCPROX_LIBRARY", MORVANE_PCPROX_SIM);
        qputenv("MORVANE_PCPROX_SIM_SCENARIO", QFile::encodeName(path("scenario")));
    }
    void TearDown() override {
        window.reset();
        qunsetenv("MORVANE_PCPROX_LIBRARY");
        qunsetenv("MORVANE_PCPROX_SIM_SCENARIO");
    }

    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }
    // The hardware: which readers are plugged in and which card lies on the active one.
    void scenario(const std::string& text) {
        std::ofstream(path("scenario").toStdString(), std::ios::binary) << text;
    }
    QPushButton* readButton() const { return control<QPushButton>("btnReadUSB"); }
    void readFromUsb() { click(readButton()); }
    void reinitialize() { click(control<QPushButton>("btnReinitializeUSB")); }

    QTemporaryDir folder;
};

TEST_F(UsbWindow, ReadFromUsbReplacesTheCardDataAndItsSplit) {
    scenario("reader 3\ncard 26 F66073\n");
    open();
    control<QTabWidget>("SSTab1")->setCurrentIndex(1);
    retype("txtData", "0000000600400002");
    click(control<QPushButton>("cmdStart"));
    ASSERT_EQ(text("txt26Num"), "1");

    readFromUsb();
    EXPECT_EQ(focusName(), "txtData");
    EXPECT_EQ(text("txtData"), "0000000475460163");
    EXPECT_EQ(text("txt26Num"), "");
    EXPECT_TRUE(messages.shown.empty());
}

// A library that dies in the middle of a read costs the read, not what the operator typed.
TEST_F(UsbWindow, ACrashingLibraryCostsTheReadOnly) {
    scenario("reader 3\ncard 26 F66073\ncrash GetActiveID\n");
    open();
    box("txtBoxSerialNo")->setText("12345");
    retype("txtData", "7");
    readFromUsb();
    EXPECT_EQ(text("txtBoxSerialNo"), "12345");
    EXPECT_EQ(text("txtData"), "");
    ASSERT_EQ(messages.shown.size(), 1U);
    const Message& m = messages.shown.front();
    EXPECT_EQ(m.text, "No Data Read from Card");
    EXPECT_EQ(m.title, "RFIDeas pcProx (CRP2) Status");
    EXPECT_EQ(m.icon, QMessageBox::Critical);
    EXPECT_EQ(m.buttons, QMessageBox::Ok);

    scenario("reader 3\ncard 26 F66073\n");
    readFromUsb();
    EXPECT_EQ(text("txtData"), "0000000475460163");
}

TEST_F(UsbWindow, TheReaderEnablesReadAndMarksTheCaptionOnceForGood) {
    scenario("reader 3\n");
    open();
    EXPECT_TRUE(readButton()->isEnabled());
    EXPECT_EQ(window->windowTitle(), kMarkedCaption);
    reinitialize();
    EXPECT_EQ(window->windowTitle(), kMarkedCaption);

    scenario("");
    reinitialize();
    EXPECT_FALSE(readButton()->isEnabled());
    EXPECT_EQ(window->windowTitle(), kMarkedCaption);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(UsbWindow, TheHiddenLuidBoxesFollowTheReaders) {
    scenario("reader 3\nreader 5\n");
    open();
    auto* list = control<QComboBox>("LuidList");
    box("LuidEntry")->setText("7");
    reinitialize();
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
