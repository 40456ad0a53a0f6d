// The Data Input boxes, Enter and "Convert", driven through the real window.
#include <QFocusEvent>
#include <QSignalSpy>

#include "app/window_fixture.h"

namespace morvane::test {
namespace {

const QString kNoResult = QStringLiteral("????????????????");

using DataInput = WindowTest;

TEST_F(DataInput, TypingRecalculatesEveryCharacterAndTurnsTextIntoZero) {
    clickFormat("opt26Bit");
    typeInto("txtFacilityCode", "5");
    typeInto("txtBoxSerialNo", "1");
    EXPECT_EQ(text("txtBoxProxData"), "0000000402400002");
    QTest::keyClick(box("txtBoxSerialNo"), '2');
    EXPECT_EQ(text("txtBoxProxData"), "0000000402400031");
    QTest::keyClick(box("txtBoxSerialNo"), 'a');
    EXPECT_EQ(text("txtBoxSerialNo"), "0");
    EXPECT_EQ(text("txtBoxProxData"), "0000000402400001");
    EXPECT_EQ(window->lFacilityCode, 5);
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DataInput, AHotstampWithoutFacilityCodeFillsTheFacilityBox) {
    typeInto("txtBoxSerialNo", "7");
    EXPECT_EQ(text("txtFacilityCode"), "0");
    EXPECT_EQ(window->lFacilityCode, 0);
    EXPECT_EQ(text("txtBoxProxData"), "0000000000000016");  // 37 bits, no facility code

    // Text that is not a hotstamp is reported by the recalculation the facility box makes,
    // and stays as typed until its next change.
    retype("txtFacilityCode", "");
    paste("txtBoxSerialNo", "abc");
    EXPECT_EQ(text("txtFacilityCode"), "0");
    EXPECT_EQ(messages.take(), QStringList{"Invalid Serial Number"});
    EXPECT_EQ(text("txtBoxSerialNo"), "abc");
    EXPECT_EQ(text("txtBoxProxData"), "");
}

TEST_F(DataInput, BlanksAroundAPastedHotstampGo) {
    typeInto("txtFacilityCode", "5");
    paste("txtBoxSerialNo", " 42 ");
    EXPECT_EQ(text("txtBoxSerialNo"), "42");
    EXPECT_EQ(text("txtBoxProxData"), "0000000024000124");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DataInput, TheHotstampBoxTakesElevenCharacters) {
    typeInto("txtFacilityCode", "1");
    typeInto("txtBoxSerialNo", "000000000001");
    EXPECT_EQ(text("txtBoxSerialNo"), "00000000000");
}

TEST_F(DataInput, AnEmptiedFacilityBoxKeepsTheFacilityCodeUntilTheHotstampChanges) {
    clickFormat("opt26Bit");
    typeInto("txtFacilityCode", "12");
    typeInto("txtBoxSerialNo", "1");
    retype("txtFacilityCode", "");
    EXPECT_EQ(window->lFacilityCode, 12);
    EXPECT_EQ(text("txtBoxProxData"), "0000000406000002") << "not recalculated";

    typeInto("txtBoxSerialNo", "0");
    EXPECT_EQ(window->lFacilityCode, 0);
    EXPECT_EQ(text("txtFacilityCode"), "0");
}

TEST_F(DataInput, FacilityTextIsReplacedOrReportedAndEmptied) {
    struct Case {
        const char* pasted;
        const char* box;
        QStringList messages;
        std::int32_t facilityCode;
    };
    const Case cases[] = {
        {"abc", "0", {}, 0},
        {" 77 ", "77", {}, 77},
        {"1e2", "1e2", {}, 100},
        {"12.5", "12.5", {}, 12},  // half to even
        {"-5", "-5", {}, -5},
        {"1e10", "", {"6 Overflow"}, 9},
        {"2147483648", "", {"6 Overflow"}, 9},
        {"2147483647", "2147483647", {}, 2147483647},
    };
    for (const Case& c : cases) {
        window->lFacilityCode = 9;
        retype("txtFacilityCode", "");
        paste("txtFacilityCode", c.pasted);
        EXPECT_EQ(text("txtFacilityCode"), c.box) << c.pasted;
        EXPECT_EQ(messages.take(), c.messages) << c.pasted;
        EXPECT_EQ(window->lFacilityCode, c.facilityCode) << c.pasted;
    }
}

TEST_F(DataInput, ARangeErrorShowsNoResultAfterTheNestedRecalculationOfTheLimit) {
    clickFormat("opt26Bit");
    typeInto("txtFacilityCode", "1");
    QSignalSpy proxData(box("txtBoxProxData"), &QLineEdit::textChanged);
    typeInto("txtBoxSerialNo", "70000");
    EXPECT_EQ(messages.take(), QStringList{"Hotstamp 70000 is too large. 65535 is max."});
    EXPECT_EQ(text("txtBoxSerialNo"), "65535");
    // The limit's own change handling showed its prox data before the failed one came back.
    ASSERT_GE(proxData.count(), 2);
    EXPECT_EQ(proxData.at(proxData.count() - 2).at(0).toString(), "0000000600777777");
    EXPECT_EQ(text("txtBoxProxData"), kNoResult);

    // The facility code likewise: the nested change of the facility box sets the code in force.
    typeInto("txtFacilityCode", "00");  // "100"
    EXPECT_TRUE(messages.take().isEmpty());
    QTest::keyClick(box("txtFacilityCode"), '0');  // "1000"
    EXPECT_EQ(messages.take(), QStringList{"Facility Code 1000 is too large. 255 is max."});
    EXPECT_EQ(text("txtFacilityCode"), "255");
    EXPECT_EQ(window->lFacilityCode, 255);
    EXPECT_EQ(text("txtBoxProxData"), kNoResult);
}

TEST_F(DataInput, TheVersionBoxTakesTheFacilityCodeThroughSixteenBits) {
    clickFormat("optProxif");
    EXPECT_EQ(text("txtVersion"), "0");
    typeInto("txtFacilityCode", "40000");
    EXPECT_TRUE(messages.shown.empty());
    EXPECT_EQ(window->lFacilityCode, 40000);

    typeInto("txtVersion", "1");
    EXPECT_EQ(messages.take(), QStringList{"6 Overflow"});
    EXPECT_EQ(text("txtFacilityCode"), "");
    EXPECT_EQ(text("txtVersion"), "01");
    EXPECT_EQ(window->lFacilityCode, 40000);
}

TEST_F(DataInput, AVersionTooLargeForProxifIsCutToItsLimit) {
    clickFormat("optProxif");
    typeInto("txtFacilityCode", "3");
    typeInto("txtBoxSerialNo", "12");
    EXPECT_EQ(text("txtBoxProxData"), "0000000030000014");
    retype("txtVersion", "8");
    EXPECT_EQ(messages.take(), QStringList{"Version 8 is too large. 7 is max."});
    EXPECT_EQ(text("txtVersion"), "7");
    EXPECT_EQ(text("txtBoxProxData"), kNoResult);
    retype("txtVersion", "x");
    EXPECT_EQ(text("txtVersion"), "0");
    EXPECT_EQ(text("txtBoxProxData"), "0000000030000014");
}

TEST_F(DataInput, EnterWithValidDataEnablesOKAndASecondEnterPressesIt) {
    clickFormat("opt26Bit");
    typeInto("txtFacilityCode", "1");
    typeInto("txtBoxSerialNo", "1");
    QSignalSpy pressed(control<QPushButton>("cmdOK"), &QPushButton::clicked);
    press(Qt::Key_Return);
    EXPECT_TRUE(control<QPushButton>("cmdOK")->isEnabled());
    EXPECT_EQ(focusName(), "cmdOK");
    EXPECT_EQ(pressed.count(), 0);
    EXPECT_EQ(text("txtBoxProxData"), "0000000600400002");

    press(Qt::Key_Return);
    EXPECT_EQ(pressed.count(), 1);
    EXPECT_FALSE(window->isVisible());
}

TEST_F(DataInput, EnterRunsItsStepsTwicePerPress) {
    paste("txtBoxSerialNo", "abc");
    EXPECT_EQ(messages.take(), QStringList{"Invalid Serial Number"});
    press(Qt::Key_Enter);
    EXPECT_EQ(messages.take(), QStringList({"Invalid Serial Number", "Invalid Serial Number"}));
    // Only the no-result value keeps "&OK" disabled.
    EXPECT_TRUE(control<QPushButton>("cmdOK")->isEnabled());
}

TEST_F(DataInput, EnterAfterAnErrorShowsItAndEmptiesTheFacilityBox) {
    clickFormat("optProxif");
    typeInto("txtFacilityCode", "3");
    paste("txtVersion", "1e10");  // no hotstamp yet, so nothing is calculated
    EXPECT_TRUE(messages.shown.empty());
    typeInto("txtBoxSerialNo", "1");
    EXPECT_EQ(messages.take(), QStringList{"6 Overflow"});
    EXPECT_EQ(text("txtFacilityCode"), "");

    press(Qt::Key_Return);
    EXPECT_EQ(messages.take(), QStringList({"6 Overflow", "6 Overflow"}));
    EXPECT_EQ(text("txtFacilityCode"), "");
    EXPECT_FALSE(control<QPushButton>("cmdOK")->isEnabled());
    EXPECT_EQ(focusName(), "txtBoxSerialNo");
}

TEST_F(DataInput, ConvertFillsEmptyBoxesFirstAndThenDecidesAboutOK) {
    auto* ok = control<QPushButton>("cmdOK");
    auto* convert = control<QPushButton>("cmdConvert");
    clickFormat("optProxif");
    typeInto("txtBoxSerialNo", "12");  // the facility box becomes "0"
    retype("txtFacilityCode", "");
    retype("txtVersion", "");

    click(convert);
    EXPECT_EQ(text("txtFacilityCode"), "0");
    EXPECT_EQ(text("txtVersion"), "");
    EXPECT_FALSE(ok->isEnabled());

    click(convert);
    EXPECT_EQ(text("txtVersion"), "0");
    EXPECT_FALSE(ok->isEnabled());

    click(convert);
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(focusName(), "cmdOK");
    EXPECT_EQ(text("txtBoxProxData"), "0000000000000014");
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(DataInput, ConvertRecalculatesBeforeItDecidesAboutOK) {
    auto* ok = control<QPushButton>("cmdOK");
    clickFormat("opt26Bit");
    typeInto("txtFacilityCode", "1");
    typeInto("txtBoxSerialNo", "1");
    click(control<QPushButton>("cmdConvert"));
    ASSERT_TRUE(ok->isEnabled());
    // A prox data box edited by hand does not count: Convert recalculates first.
    retype("txtBoxProxData", "????????????????");
    click(control<QPushButton>("cmdConvert"));
    EXPECT_TRUE(ok->isEnabled());
    EXPECT_EQ(text("txtBoxProxData"), "0000000600400002");
}

TEST_F(DataInput, LeavingTheFacilityBoxRecalculatesButAWindowChangeDoesNot) {
    paste("txtBoxSerialNo", "abc");
    ASSERT_EQ(messages.take(), QStringList{"Invalid Serial Number"});
    const struct {
        Qt::FocusReason reason;
        int recalculations;
    } cases[] = {
        {Qt::TabFocusReason, 1},     {Qt::MouseFocusReason, 1},        {Qt::OtherFocusReason, 1},
        {Qt::BacktabFocusReason, 1}, {Qt::ActiveWindowFocusReason, 0}, {Qt::PopupFocusReason, 0},
    };
    for (const auto& c : cases) {
        QFocusEvent out(QEvent::FocusOut, c.reason);
        QApplication::sendEvent(box("txtFacilityCode"), &out);
        EXPECT_EQ(messages.take().size(), c.recalculations) << c.reason;
    }
}

TEST_F(DataInput, TabbingOutOfTheFacilityBoxTrimsAndRecalculates) {
    clickFormat("opt26Bit");
    typeInto("txtFacilityCode", "2");
    typeInto("txtBoxSerialNo", "1");
    click(box("txtFacilityCode"));
    window->lFacilityCode = 7;
    press(Qt::Key_Tab);
    EXPECT_EQ(window->lFacilityCode, 2);
    EXPECT_EQ(focusName(), "cmdConvert");  // the version box is disabled
}

}  // namespace
}  // namespace morvane::test
