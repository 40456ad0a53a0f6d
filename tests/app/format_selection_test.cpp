// The card format option buttons and QRV mode.
#include <QCheckBox>

#include "app/window_fixture.h"

namespace morvane::test {
namespace {

using FormatSelection = WindowTest;

TEST_F(FormatSelection, EachButtonSetsItsCodeAndOnlyProxifTakesAVersion) {
    const std::pair<const char*, const char*> buttons[] = {
        {"opt26Bit", "26"},      {"opt34Bit", "34"},   {"opt35Bit", "35"},
        {"opt35BitV", "35V"},    {"opt36BitV", "36V"}, {"opt37bitV", "37V"},
        {"optProxif", "Proxif"}, {"optCasi", "Casi"},  {"opt37Bit", "37"}};
    for (const auto& [button, code] : buttons) {
        clickFormat(button);
        EXPECT_EQ(window->sCardFormat, code);
        const bool proxif = std::string_view(code) == "Proxif";
        EXPECT_EQ(box("txtVersion")->isEnabled(), proxif) << button;
        EXPECT_EQ(control("lblVersion")->isEnabled(), proxif) << button;
    }
}

TEST_F(FormatSelection, AClickRecalculatesOnceAHotstampIsThereAndProxifFillsTheVersion) {
    retype("txtVersion", "");
    retype("txtBoxProxData", "typed by hand");
    clickFormat("opt26Bit");
    EXPECT_EQ(text("txtBoxProxData"), "typed by hand");
    retype("txtFacilityCode", "1");
    retype("txtBoxSerialNo", "1");
    retype("txtBoxProxData", "");
    clickFormat("opt26Bit");
    EXPECT_EQ(text("txtBoxProxData"), "") << "the button already on ran its click";
    clickFormat("optProxif");
    EXPECT_EQ(text("txtVersion"), "0");
    EXPECT_EQ(text("txtBoxProxData"), "0000000010000001");
}

TEST_F(FormatSelection, QRVModeHoldsTheThirtySevenBitFormatAndTheFacilityCode) {
    clickFormat("opt26Bit");
    control<QCheckBox>("chkQRVFormat")->setChecked(true);
    EXPECT_TRUE(control<QRadioButton>("opt37Bit")->isChecked());
    EXPECT_EQ(window->sCardFormat, "37");
    EXPECT_TRUE(window->bQRVFormat);
    for (const char* name :
         {"fraCardFormat", "opt26Bit", "opt34Bit", "opt35Bit", "opt37Bit", "optProxif", "optCasi",
          "lblFacilityCode", "txtFacilityCode", "txtVersion", "lblVersion", "chkQRVFormat29"}) {
        EXPECT_FALSE(control(name)->isEnabledTo(control(name)->parentWidget())) << name;
    }
}

}  // namespace
}  // namespace morvane::test
