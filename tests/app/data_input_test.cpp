// The Data Input boxes, Enter and "Convert", driven through the real window.
#include <QFocusEvent>

#include "app/window_fixture.h"

namespace morvane::test {
namespace {

const QString kNoResult = QStringLiteral("????????????????");

using DataInput = WindowTest;

TEST_F(DataInput, TheHotstampBoxRecalculatesAndTurnsTextIntoZero) {
    retype("txtBoxSerialNo", "7");
    EXPECT_EQ(text("txtFacilityCode"), "0") << "no facility code yet";
    clickFormat("opt26Bit");
    retype("txtFacilityCode", "5");
    retype("txtBoxSerialNo", " 12 ");
    EXPECT_EQ(text("txtBoxSerialNo"), "12");
    EXPECT_EQ(text("txtBoxProxData"), "0000000402400031");
    QTest::keyClick(box("txtBoxSerialNo"), 'a');
    EXPECT_EQ(text("txtBoxSerialNo"), "0");
    EXPECT_EQ(text("txtBoxProxData"), "0000000402400001");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DataInput, TheFacilityBoxSetsTheCodeInForceOrIsReplacedOrEmptied) {
    const struct {
        const char *typed, *box;
        QStringList messages;
        std::int32_t facilityCode;
    } cases[] = {{"abc", "0", {}, 0},
                 {" 77 ", "77", {}, 77},
                 {"12.5", "12.5", {}, 12},
                 {"", "", {}, 9},
                 {"2147483648", "", {"6 Overflow"}, 9}};
    for (const auto& c : cases) {
        retype("txtFacilityCode", "x");
        window->lFacilityCode = 9;
        retype("txtFacilityCode", c.typed);
        EXPECT_EQ(text("txtFacilityCode"), c.box) << c.typed;
        EXPECT_EQ(messages.take(), c.messages) << c.typed;
        EXPECT_EQ(window->lFacilityCode, c.facilityCode) << c.typed;
    }
}

TEST_F(DataInput, ARangeErrorPutsTheLimitIntoItsBoxAndShowsNoResult) {
    const struct {
        const char *format, *box, *typed, *limit, *message;
    } cases[] = {
        {"opt26Bit", "txtBoxSerialNo", "70000", "65535",
         "Hotstamp 70000 is too large. 65535 is max."},
        {"opt26Bit", "txtFacilityCode", "1000", "255",
         "Facility Code 1000 is too large. 255 is max."},
        {"optProxif", "txtVersion", "8", "7", "Version 8 is too large. 7 is max."},
    };
    for (const auto& c : cases) {
        clickFormat(c.format);
        retype("txtFacilityCode", "1");
        retype("txtBoxSerialNo", "1");
        retype(c.box, c.typed);
        EXPECT_EQ(messages.take(), QStringList{c.message});
        EXPECT_EQ(text(c.box), c.limit);
        EXPECT_EQ(text("txtBoxProxData"), kNoResult);
    }
}

TEST_F(DataInput, TheVersionBoxTakesTheFacilityCodeThroughSixteenBits) {
    clickFormat("optProxif");
    retype("txtFacilityCode", "40000");
    retype("txtVersion", "1");
    EXPECT_EQ(messages.take(), QStringList{"6 Overflow"});
    EXPECT_EQ(text("txtFacilityCode"), "");
    retype("txtFacilityCode", "3");
    retype("txtBoxSerialNo", "12");
    retype("txtVersion", "x");
    EXPECT_EQ(text("txtVersion"), "0");
    retype("txtVersion", "2");
    EXPECT_EQ(text("txtBoxProxData"), "0002000030000014");
}

TEST_F(DataInput, EnterRunsItsStepsTwiceAndLeavesOKForAResultOnly) {
    clickFormat("opt26Bit");
    retype("txtFacilityCode", "255");
    retype("txtBoxSerialNo", "1");
    press(Qt::Key_Return);
    EXPECT_TRUE(control("cmdOK")->isEnabled());
    EXPECT_EQ(focusName(), "cmdOK");
    // A facility code in force that the box does not show cannot be cut to its limit.
    window->lFacilityCode = 1000;
    click(box("txtBoxSerialNo"));
    press(Qt::Key_Enter);
    EXPECT_EQ(messages.take(), QStringList(2, "Facility Code 1000 is too large. 255 is max."));
    EXPECT_EQ(text("txtBoxProxData"), kNoResult);
    EXPECT_FALSE(control("cmdOK")->isEnabled());
}

TEST_F(DataInput, ConvertFillsEmptyBoxesFirstAndThenDecidesAboutOK) {
    clickFormat("optProxif");
    retype("txtBoxSerialNo", "12");
    retype("txtFacilityCode", "");
    retype("txtVersion", "");
    for (const char* version : {"", "0", "0"}) {
        EXPECT_FALSE(control("cmdOK")->isEnabled());
        click(control("cmdConvert"));
        EXPECT_EQ(text("txtFacilityCode"), "0");
        EXPECT_EQ(text("txtVersion"), version);
    }
    EXPECT_EQ(focusName(), "cmdOK");
    EXPECT_EQ(text("txtBoxProxData"), "0000000000000014");
}

TEST_F(DataInput, LeavingTheFacilityBoxRecalculatesButAWindowChangeDoesNot) {
    retype("txtBoxSerialNo", "abc");
    EXPECT_EQ(messages.take(), QStringList{"Invalid Serial Number"});
    const std::pair<Qt::FocusReason, qsizetype> cases[] = {
        {Qt::TabFocusReason, 1}, {Qt::ActiveWindowFocusReason, 0}, {Qt::PopupFocusReason, 0}};
    for (const auto& [reason, recalculations] : cases) {
        QFocusEvent out(QEvent::FocusOut, reason);
        QApplication::sendEvent(box("txtFacilityCode"), &out);
        EXPECT_EQ(messages.take().size(), recalculations) << reason;
    }
}

}  // namespace
}  // namespace morvane::test
