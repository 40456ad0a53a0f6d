// The window as a calling program starts it and as it hands results back, its first
// activation, tab order and the Esc key.
#include <QTabWidget>

#include "app/window_fixture.h"

namespace morvane::test {
namespace {

using Window = WindowTest;

TEST_F(Window, StartsFromWhatTheClipboardHolds) {
    const struct {
        const char* clipboard;
        const char *checked, *cardFormat, *facilityBox;
        bool proxDataOnly, qrv;
    } cases[] = {
        {"", "opt37Bit", "37", "", false, false},
        {"FC=123;CF=26;QRVF=F", "opt26Bit", "26", "123", false, false},
        {" FC=7;CF=35;QRVF=F", "opt35Bit", "35", "0", true, false},
        {"FC=-5;CF=35V;QRVF=F", "opt35BitV", "35V", "-5", false, false},
        {"FC=1;CF=37;QRVF=F", "opt37Bit", "37", "1", false, false},
        {"FC=7;CF=Proxif;QRVF=F", "", "Proxif", "7", false, false},
        {"QRVF=T", "", "", "", true, false},
        {"fc=7;cf=35V;qrvf=T", "opt37Bit", "37", "7", false, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.clipboard);
        open(c.clipboard);
        QStringList checked;
        for (QRadioButton* b : window->findChildren<QRadioButton*>()) {
            if (b->isChecked()) checked << b->objectName();
        }
        EXPECT_EQ(checked.join(""), c.checked);
        EXPECT_EQ(window->sCardFormat, c.cardFormat);
        EXPECT_EQ(text("txtFacilityCode"), c.facilityBox);
        EXPECT_EQ(window->bProxDataOnly, c.proxDataOnly);
        EXPECT_EQ(window->bQRVFormat, c.qrv);
        for (const char* name : {"fraCardFormat", "opt26Bit", "opt35Bit", "opt37Bit", "opt35BitV",
                                 "lblFacilityCode", "txtFacilityCode", "chkQRVFormat29"}) {
            EXPECT_EQ(control(name)->isEnabled(), !c.qrv) << name;
        }
        EXPECT_EQ(text("txtVersion"), "0");
        EXPECT_FALSE(control("cmdOK")->isEnabled());
        EXPECT_EQ(window->windowTitle(), "Morvane [v2.4.0]");
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(Window, OKHandsBackTheResultAndCopyMakesItTheBareProxData) {
    open("FC=123;CF=26;QRVF=F");
    retype("txtBoxSerialNo", "1");
    press(Qt::Key_Return);
    press(Qt::Key_Return);
    EXPECT_FALSE(window->isVisible());
    open("FC=123;CF=26;QRVF=F");
    retype("txtBoxSerialNo", "1");
    click(control("cmdCopyToCB"));
    EXPECT_TRUE(window->bProxDataOnly);
    click(control("cmdCancel"));
    EXPECT_EQ(clipboard.placed, (QStringList{"OK;0000000475400002;FC=123;CF=26;QRVF=F",
                                             "0000000475400002", "Cancel"}));
    EXPECT_FALSE(window->isVisible());
}

TEST_F(Window, AResultThatCannotBePlacedIsReportedAndTheWindowStaysOpen) {
    retype("txtBoxSerialNo", "1");
    press(Qt::Key_Return);
    clipboard.failPlacing = true;
    for (const char* button : {"cmdCopyToCB", "cmdOK", "cmdCancel"}) click(control(button));
    EXPECT_TRUE(window->isVisible());
    EXPECT_FALSE(window->bProxDataOnly);
    EXPECT_EQ(messages.take(), QStringList(3,
                                           "The result could not be placed on the clipboard. "
                                           "Morvane stays open so that it is not lost."));
}

TEST_F(Window, OnlyTheFirstActivationShowsDataInputWithTheCursorInTheHotstampBox) {
    window =
        std::make_unique<frmMorvane>(WindowServices{.messages = messages, .clipboard = clipboard});
    auto* tabs = control<QTabWidget>("SSTab1");
    tabs->setCurrentIndex(1);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(tabs->currentIndex(), 0);
    EXPECT_EQ(focusName(), "txtBoxSerialNo");

    tabs->setCurrentIndex(1);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(tabs->currentIndex(), 1);
}

TEST_F(Window, TabRunsThroughTheDataInputBoxesThenTheEndButtonsAndEscPressesExit) {
    clickFormat("optProxif");
    click(box("txtBoxSerialNo"));
    QStringList order;
    for (int i = 0; i < 9; ++i) {
        press(Qt::Key_Tab);
        order << focusName();
    }
    EXPECT_EQ(order, QStringList({"txtFacilityCode", "txtVersion", "cmdConvert", "cmdCopyToCB",
                                  "cmdCancel", "SSTab1", "txtBoxProxData", "optProxif", "Text2"}));
    press(Qt::Key_Escape);
    EXPECT_EQ(clipboard.placed, QStringList{"Cancel"});
}

}  // namespace
}  // namespace morvane::test
