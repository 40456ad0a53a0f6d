// The card format option buttons and QRV mode.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>

#include "app/window_fixture.h"

namespace morvane::test {
namespace {

using FormatSelection = WindowTest;

TEST_F(FormatSelection, EachButtonSetsItsCodeAndOnlyProxifTakesAVersion) {
    const struct {
        const char* button;
        const char* code;
        const char* proxData;  // hotstamp 12, facility code 5, version 0
    } cases[] = {
        {"opt26Bit", "26", "0000000402400031"},   {"opt34Bit", "34", "0000200050000031"},
        {"opt35Bit", "35", "0000600050000030"},   {"opt35BitV", "35V", "0000400050000031"},
        {"opt36BitV", "36V", "0000000240000062"}, {"opt37bitV", "37V", "0000000024000031"},
        {"opt37Bit", "37", "0000000024000031"},   {"optProxif", "Proxif", "0000000050000014"},
        {"optCasi", "Casi", "0005000000000014"},
    };
    typeInto("txtFacilityCode", "5");
    typeInto("txtBoxSerialNo", "12");
    for (const auto& c : cases) {
        clickFormat(c.button);
        EXPECT_TRUE(control<QRadioButton>(c.button)->isChecked()) << c.button;
        EXPECT_EQ(window->sCardFormat, c.code);
        const bool proxif = std::string_view(c.code) == "Proxif";
        EXPECT_EQ(box("txtVersion")->isEnabled(), proxif) << c.button;
        EXPECT_EQ(control<QLabel>("lblVersion")->isEnabled(), proxif) << c.button;
        EXPECT_EQ(text("txtBoxProxData"), c.proxData) << c.button;
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(FormatSelection, ProxifFillsAnEmptyVersionBoxAndLeavingItKeepsTheText) {
    clickFormat("optProxif");
    retype("txtVersion", "");
    clickFormat("opt26Bit");
    EXPECT_EQ(text("txtVersion"), "");
    clickFormat("optProxif");
    EXPECT_EQ(text("txtVersion"), "0");
    EXPECT_TRUE(box("txtVersion")->isEnabled());

    retype("txtVersion", "5");
    clickFormat("opt26Bit");
    EXPECT_FALSE(box("txtVersion")->isEnabled());
    EXPECT_EQ(text("txtVersion"), "5");
}

TEST_F(FormatSelection, FillingTheVersionBoxRecalculatesUnderTheFormatStillInForce) {
    clickFormat("optProxif");
    retype("txtVersion", "");
    clickFormat("opt26Bit");
    typeInto("txtFacilityCode", "1");
    typeInto("txtBoxSerialNo", "1");
    retype("txtBoxProxData", "");
    QSignalSpy proxData(box("txtBoxProxData"), &QLineEdit::textChanged);
    clickFormat("optProxif");
    ASSERT_EQ(proxData.count(), 2);
    EXPECT_EQ(proxData.at(0).at(0).toString(), "0000000600400002");  // 26 bits, version's "0"
    EXPECT_EQ(proxData.at(1).at(0).toString(), "0000000010000001");  // then Proxif
    EXPECT_EQ(window->sCardFormat, "Proxif");
}

TEST_F(FormatSelection, AnEmptyHotstampLeavesTheProxDataAloneAndOKIsNeverTouched) {
    retype("txtBoxProxData", "typed by hand");
    auto* ok = control<QPushButton>("cmdOK");
    clickFormat("opt26Bit");
    EXPECT_EQ(text("txtBoxProxData"), "typed by hand");
    EXPECT_FALSE(ok->isEnabled());

    typeInto("txtFacilityCode", "1");
    typeInto("txtBoxSerialNo", "1");
    press(Qt::Key_Return);
    ASSERT_TRUE(ok->isEnabled());
    clickFormat("opt35BitV");
    clickFormat("opt26Bit");
    EXPECT_TRUE(ok->isEnabled());
}

TEST_F(FormatSelection, ClickingTheButtonAlreadyOnRunsNothing) {
    clickFormat("opt26Bit");
    typeInto("txtFacilityCode", "1");
    typeInto("txtBoxSerialNo", "1");
    retype("txtBoxProxData", "");
    clickFormat("opt26Bit");
    EXPECT_EQ(text("txtBoxProxData"), "");
}

TEST_F(FormatSelection, QRVModeHoldsTheFormatAndTheFacilityCode) {
    clickFormat("opt26Bit");
    typeInto("txtFacilityCode", "9");
    typeInto("txtBoxSerialNo", "1");
    control<QCheckBox>("chkQRVFormat")->setChecked(true);

    EXPECT_TRUE(control<QRadioButton>("opt37Bit")->isChecked());
    EXPECT_EQ(window->sCardFormat, "37");
    EXPECT_TRUE(window->bQRVFormat);
    EXPECT_EQ(window->lFacilityCode, 9);
    EXPECT_EQ(text("txtFacilityCode"), "9");
    EXPECT_EQ(text("txtBoxProxData"), "0000000044000002");

    for (const char* name :
         {"fraCardFormat", "opt26Bit", "opt34Bit", "opt35Bit", "opt37Bit", "optProxif", "optCasi",
          "lblFacilityCode", "txtFacilityCode", "txtVersion", "lblVersion", "chkQRVFormat29"}) {
        EXPECT_FALSE(control(name)->isEnabled()) << name;
    }
    // The Vorta ID buttons keep their own state but their frame holds them.
    auto* frame = control<QGroupBox>("fraCardFormat");
    for (const char* name : {"opt35BitV", "opt36BitV", "opt37bitV"}) {
        auto* button = control<QRadioButton>(name);
        EXPECT_TRUE(button->isEnabledTo(frame)) << name;
        clickFormat(name);
        EXPECT_FALSE(button->isChecked()) << name;
    }
    EXPECT_EQ(window->sCardFormat, "37");
    EXPECT_TRUE(box("txtBoxSerialNo")->isEnabled());
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
}  // namespace morvane::test
