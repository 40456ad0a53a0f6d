// The window as it opens: controls, captions, tooltips, hidden controls, start-up state,
// first activation, tab order and the Esc key.
#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTabWidget>

#include "app/window_fixture.h"

namespace morvane::test {
namespace {

using Window = WindowTest;

QString captionOf(QWidget* w) {
    if (auto* b = qobject_cast<QAbstractButton*>(w)) return b->text();
    if (auto* l = qobject_cast<QLabel*>(w)) return l->text();
    if (auto* g = qobject_cast<QGroupBox*>(w)) return g->title();
    return {};
}

TEST_F(Window, EveryControlCarriesItsCaptionAndTooltip) {
    const struct {
        const char* name;
        const char* caption;
        const char* tooltip;
    } controls[] = {
        {"cmdCancel", "E&xit", "Exit Application"},
        {"cmdOK", "&OK", ""},
        {"Label2", "Version 2.4", ""},
        {"lblSerialNo", "Hotstamp No.:", ""},
        {"lblFacilityCode", "Facility Code:", ""},
        {"lblVersion", "Version:", ""},
        {"chkQRVFormat", "Set as QRV Format w/ Facility Code = 9", ""},
        {"chkQRVFormat29", "Set as QRV Format w/ Facility Code = 29", ""},
        {"cmdConvert", "Convert", "Convert Hotstamp Number, Facility Code, & Version to Prox Data"},
        {"Label1", "Prox Data:", ""},
        {"cmdCopyToCB", "", "Copy to Clipboard"},
        {"fraCardFormat", "Prox Card Format", ""},
        {"opt26Bit", "26 Bit", ""},
        {"opt34Bit", "34 Bit", ""},
        {"opt35Bit", "35 Bit", ""},
        {"opt35BitV", "35 Bit Vorta ID", ""},
        {"opt36BitV", "36 Bit Vorta ID", ""},
        {"opt37bitV", "37 Bit Vorta ID", ""},
        {"opt37Bit", "37 Bit", ""},
        {"optProxif", "Proxif", ""},
        {"optCasi", "Casi", ""},
        {"Label10", "Card Data:", ""},
        {"Label7", "Bit Data:", ""},
        {"Label100", "Enter Data from Card. Select <Split Data>", ""},
        {"cmdStart", "Split Data",
         "Split Card Data into Hotstamp Number, Facility Code, & Version"},
        {"cmdGetCard", "Read from Lock", "Read Card Data from Lock Using CIP"},
        {"Frame1", "Com Port", ""},
        {"btnReadUSB", "Read from USB", "Present Card Then Select"},
        {"btnReinitializeUSB", "Reinitialize USB", "Select If USB Reader Not Connected On Startup"},
        {"LuidEntry", "", "Enter a unique USB device for the USB reader attached."},
        {"LuidList", "", "Shows list of unique pcProx addresses (version 2.1 or above)"},
        {"lbl26Bit", "26 Bit", ""},
        {"Label6", "34 Bit", ""},
        {"lbl35Bit", "35 Bit", ""},
        {"lbl35V", "35 Bit V", ""},
        {"Label4", "36 Bit V", ""},
        {"Label5", "37 Bit V", ""},
        {"lbl37Bit", "37 Bit", ""},
        {"Label80", "No Facility", ""},
        {"lblProxif", "Proxif", ""},
        {"lblCasi", "Casi", ""},
        {"Label40", "Hotstamp No.:", ""},
        {"Label50", "Facility Code:", ""},
        {"Label3", "Version:", ""},
    };
    for (const auto& c : controls) {
        QWidget* w = control(c.name);
        ASSERT_NE(w, nullptr);
        EXPECT_EQ(captionOf(w), c.caption) << c.name;
        EXPECT_EQ(w->toolTip(), c.tooltip) << c.name;
    }
    EXPECT_FALSE(control<QPushButton>("cmdCopyToCB")->icon().isNull());
    EXPECT_EQ(control<QPushButton>("cmdCopyToCB")->iconSize(), QSize(16, 15));
    EXPECT_EQ(control<QLabel>("Picture1")->pixmap().size(), QSize(198, 58));
    EXPECT_FALSE(window->windowIcon().isNull());
    EXPECT_EQ(qobject_cast<QLabel*>(control("Label100"))->textFormat(), Qt::PlainText);
}

TEST_F(Window, TheTwoPagesAndTheirInstructions) {
    auto* tabs = control<QTabWidget>("SSTab1");
    ASSERT_EQ(tabs->count(), 2);
    EXPECT_EQ(tabs->tabText(0), "Data Input");
    EXPECT_EQ(tabs->tabText(1), "Split Data");
    EXPECT_EQ(control<QPlainTextEdit>("Text2")->toPlainText(),
              "1) Select the card format.\n"
              "2) Enter the hotstamp number printed\n"
              "    on the proximity credential.\n"
              "3) Enter the Facility Code.\n"
              "4) Enter the Version (if applicable)\n"
              "5) Press the 'Convert' button\n" +
                  QString(18, ' ') + "\n");
    EXPECT_TRUE(control<QPlainTextEdit>("Text2")->isReadOnly());
    EXPECT_EQ(control<QPlainTextEdit>("Text1")->toPlainText(),
              "1) Enter Card Data or Select <Read from Lock> or <Read from USB>\n"
              "2) Press <Split Data> to attempt to extract hotstamp number,\n"
              "    facility code and version using known card formats.\n");
}

TEST_F(Window, HiddenControlsStayHiddenOnEitherPage) {
    auto* tabs = control<QTabWidget>("SSTab1");
    for (int page = 0; page < tabs->count(); ++page) {
        tabs->setCurrentIndex(page);
        for (const char* name : {"Label2", "chkQRVFormat", "chkQRVFormat29", "LuidEntry",
                                 "LuidList", "lblCasi", "txtCasiNum", "txtCasiFac"}) {
            EXPECT_FALSE(control(name)->isVisible()) << name;
        }
    }
    for (const char* name : {"lblProxif", "txtProxifNum", "txtProxifVer", "txt37Number",
                             "btnReadUSB", "ComboComPort", "Label80"}) {
        EXPECT_TRUE(control(name)->isVisible()) << name;
    }
    tabs->setCurrentIndex(0);
    for (const char* name : {"cmdCopyToCB", "Picture1", "Text2", "cmdCancel", "cmdOK"}) {
        EXPECT_TRUE(control(name)->isVisible()) << name;
    }
}

TEST_F(Window, StartsStandAloneWithThirtySevenBits) {
    EXPECT_EQ(window->windowTitle(), "Morvane [v2.4.0]");
    EXPECT_EQ(window->sCardFormat, "37");
    EXPECT_EQ(window->lFacilityCode, 0);
    EXPECT_FALSE(window->bQRVFormat);
    EXPECT_FALSE(window->bProxDataOnly);
    EXPECT_TRUE(control<QRadioButton>("opt37Bit")->isChecked());
    EXPECT_EQ(text("txtVersion"), "0");
    EXPECT_FALSE(box("txtVersion")->isEnabled());
    EXPECT_FALSE(control("lblVersion")->isEnabled());
    EXPECT_EQ(text("txtFacilityCode"), "");
    EXPECT_EQ(text("txtBoxSerialNo"), "");
    EXPECT_EQ(text("txtBoxProxData"), "");
    EXPECT_FALSE(control("cmdOK")->isEnabled());
    EXPECT_FALSE(control("btnReadUSB")->isEnabled());
    EXPECT_TRUE(control("cmdConvert")->isEnabled());
    EXPECT_FALSE(control<QCheckBox>("chkQRVFormat")->isChecked());
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(Window, FirstActivationShowsDataInputWithTheCursorInTheHotstampBox) {
    EXPECT_EQ(control<QTabWidget>("SSTab1")->currentIndex(), 0);
    EXPECT_EQ(focusName(), "txtBoxSerialNo");

    // A window that was switched to the other page before it opened still opens on Data Input;
    // later activations leave the page alone.
    window.reset();
    window = std::make_unique<frmMorvane>(
        WindowServices{.messages = messages, .clipboard = clipboard});
    control<QTabWidget>("SSTab1")->setCurrentIndex(1);
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(control<QTabWidget>("SSTab1")->currentIndex(), 0);
    EXPECT_EQ(focusName(), "txtBoxSerialNo");

    control<QTabWidget>("SSTab1")->setCurrentIndex(1);
    QWidget other;
    other.show();
    other.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&other));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    EXPECT_EQ(control<QTabWidget>("SSTab1")->currentIndex(), 1);
}

TEST_F(Window, TabOrderStartsWithTheDataInputBoxes) {
    QStringList order;
    for (int i = 0; i < 5; ++i) {
        press(Qt::Key_Tab);
        order << focusName();
    }
    // The version box and "&OK" are disabled at start and skipped.
    EXPECT_EQ(order,
              QStringList({"txtFacilityCode", "cmdConvert", "cmdCopyToCB", "cmdCancel", "SSTab1"}));

    clickFormat("optProxif");
    typeInto("txtFacilityCode", "1");
    typeInto("txtBoxSerialNo", "1");
    press(Qt::Key_Return);
    click(box("txtBoxSerialNo"));
    order.clear();
    for (int i = 0; i < 7; ++i) {
        press(Qt::Key_Tab);
        order << focusName();
    }
    EXPECT_EQ(order, QStringList({"txtFacilityCode", "txtVersion", "cmdConvert", "cmdCopyToCB",
                                  "cmdCancel", "cmdOK", "SSTab1"}));
}

TEST_F(Window, EscPressesExit) {
    QSignalSpy exitPressed(control<QPushButton>("cmdCancel"), &QPushButton::clicked);
    typeInto("txtBoxSerialNo", "12");
    press(Qt::Key_Escape);
    EXPECT_EQ(exitPressed.count(), 1);
    EXPECT_FALSE(window->isVisible());
}

}  // namespace
}  // namespace morvane::test
