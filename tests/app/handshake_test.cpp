// The window started by a calling program: the invocation string read at start-up, and the
// result strings handed back through the clipboard.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>

#include "app/window_fixture.h"

namespace morvane::test {
namespace {

class Handshake : public WindowTest {
  protected:
    void SetUp() override {}  // each test opens the window with its own clipboard text

    QStringList checkedFormats() const {
        QStringList names;
        for (QRadioButton* b : window->findChildren<QRadioButton*>()) {
            if (b->isChecked()) names << b->objectName();
        }
        return names;
    }
    void typeHotstampAndEnter(const QString& hotstamp) {
        typeInto("txtBoxSerialNo", hotstamp);
        press(Qt::Key_Return);
    }
};

TEST_F(Handshake, ANormalInvocationPreselectsAndOkHandsBackTheFullResult) {
    open("FC=123;CF=26;QRVF=F");
    EXPECT_EQ(text("txtFacilityCode"), "123");
    EXPECT_EQ(window->lFacilityCode, 123);
    EXPECT_EQ(checkedFormats(), QStringList{"opt26Bit"});
    EXPECT_EQ(window->sCardFormat, "26");
    EXPECT_FALSE(window->bQRVFormat);
    EXPECT_FALSE(window->bProxDataOnly);
    EXPECT_FALSE(control("cmdOK")->isEnabled());
    EXPECT_EQ(text("txtVersion"), "0");
    EXPECT_EQ(window->windowTitle(), "Morvane [v2.4.0]");

    typeHotstampAndEnter("1");
    EXPECT_EQ(focusName(), "cmdOK");
    press(Qt::Key_Return);
    EXPECT_EQ(clipboard.placed, QStringList{"OK;0000000475400002;FC=123;CF=26;QRVF=F"});
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Handshake, QrvModeForces37BitsAndHoldsTheFormatControls) {
    open("fc=7;cf=35V;qrvf=T");
    EXPECT_EQ(checkedFormats(), QStringList{"opt37Bit"});
    EXPECT_EQ(window->sCardFormat, "37");
    EXPECT_TRUE(window->bQRVFormat);
    EXPECT_EQ(text("txtFacilityCode"), "7");
    for (const char* name : {"fraCardFormat", "opt26Bit", "opt34Bit", "opt35Bit", "opt35BitV",
                             "opt37Bit", "optProxif", "optCasi", "lblFacilityCode",
                             "txtFacilityCode", "txtVersion", "lblVersion", "chkQRVFormat29"}) {
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    }
    typeHotstampAndEnter("1");
    press(Qt::Key_Return);
    ASSERT_EQ(clipboard.placed.size(), 1);
    EXPECT_TRUE(clipboard.placed[0].endsWith(";FC=7;CF=37;QRVF=T"))
        << clipboard.placed[0].toStdString();
}

struct StartCase {
    const char* clipboard;
    QStringList checked;
    std::string cardFormat;
    const char* facilityBox;
    bool proxDataOnly;
};

TEST_F(Handshake, StartsFromWhateverTheClipboardHolds) {
    const StartCase cases[] = {
        {"", {"opt37Bit"}, "37", "", false},
        {"hello", {"opt37Bit"}, "37", "", false},
        {"QRVF=T", {}, "", "", true},
        {"FC=7;CF=35v;QRVF=F", {}, "35v", "7", false},
        {"FC=7;CF=Proxif;QRVF=F", {}, "Proxif", "7", false},
        {"CF=26;FC=7;QRVF=F", {"opt26Bit"}, "26", "0", true},
        {" FC=7;CF=35;QRVF=F", {"opt35Bit"}, "35", "0", true},
        {"FC=40000;CF=37;QRVF=F", {"opt37Bit"}, "37", "0", false},
        {"FC=-5;CF=35V;QRVF=F", {"opt35BitV"}, "35V", "-5", false},
    };
    for (const StartCase& c : cases) {
        SCOPED_TRACE(c.clipboard);
        open(c.clipboard);
        EXPECT_EQ(checkedFormats(), c.checked);
        EXPECT_EQ(window->sCardFormat, c.cardFormat);
        EXPECT_EQ(text("txtFacilityCode"), c.facilityBox);
        EXPECT_EQ(window->bProxDataOnly, c.proxDataOnly);
        EXPECT_FALSE(window->bQRVFormat);
        EXPECT_TRUE(control("fraCardFormat")->isEnabled());
        EXPECT_EQ(window->windowTitle(), "Morvane [v2.4.0]");
        EXPECT_EQ(focusName(), "txtBoxSerialNo");
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(Handshake, AnInvocationWithoutThreeFieldsLeavesTheFormatUndefined) {
    open("QRVF=T");
    typeInto("txtBoxSerialNo", "5");
    ASSERT_EQ(messages.shown.size(), 1U);
    EXPECT_EQ(messages.shown[0].text, "Undefined card format / facility code");
    click(control("cmdOK"));  // still disabled: nothing happens
    EXPECT_TRUE(clipboard.placed.isEmpty());
    window->findChild<QPushButton*>("cmdOK")->setEnabled(true);
    click(control("cmdOK"));
    EXPECT_EQ(clipboard.placed, QStringList{"Invalid"});
}

TEST_F(Handshake, CopyToClipboardThenOkGivesTheBareProxData) {
    open("FC=1;CF=26;QRVF=F");
    typeHotstampAndEnter("1");
    click(control("cmdCopyToCB"));
    EXPECT_TRUE(window->bProxDataOnly);
    EXPECT_TRUE(window->isVisible());
    click(control("cmdOK"));
    EXPECT_EQ(clipboard.placed, (QStringList{"0000000600400002", "0000000600400002"}));
}

TEST_F(Handshake, ExitAndEscHandBackCancel) {
    open("FC=1;CF=26;QRVF=F");
    click(control("cmdCancel"));
    EXPECT_EQ(clipboard.placed, QStringList{"Cancel"});
    EXPECT_FALSE(window->isVisible());

    open("FC=1;CF=26;QRVF=F");
    clipboard.placed.clear();
    press(Qt::Key_Escape);
    EXPECT_EQ(clipboard.placed, QStringList{"Cancel"});
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Handshake, ClosingTheWindowOtherwiseWritesNothing) {
    open("FC=1;CF=26;QRVF=F");
    typeHotstampAndEnter("1");
    window->close();
    EXPECT_TRUE(clipboard.placed.isEmpty());
    EXPECT_EQ(clipboard.text, "FC=1;CF=26;QRVF=F");
}

TEST_F(Handshake, AResultThatCannotBePlacedIsReportedAndTheWindowStaysOpen) {
    open("FC=1;CF=26;QRVF=F");
    typeHotstampAndEnter("1");
    clipboard.failPlacing = true;
    for (const char* button : {"cmdCopyToCB", "cmdOK", "cmdCancel"}) {
        click(control(button));
        EXPECT_TRUE(window->isVisible()) << button;
    }
    EXPECT_FALSE(window->bProxDataOnly);
    ASSERT_EQ(messages.shown.size(), 3U);
    EXPECT_TRUE(messages.shown[0].text.startsWith("The result could not be placed"));
}

}  // namespace
}  // namespace morvane::test
