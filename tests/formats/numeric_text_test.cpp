#include "formats/numeric_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "formats/numeric_error.h"

namespace morvane {
namespace {

TEST(NumericText, AcceptsTheDecimalNotations) {
    const std::pair<const char*, double> cases[] = {
        {"12", 12},
        {"  12  ", 12},
        {"+1", 1},
        {"-1", -1},
        {"1.", 1},
        {".5", 0.5},
        {"1e5", 1e5},
        {"1E+05", 1e5},
        {"1.5e-3", 1.5e-3},
        {"007", 7},
        {"-0", 0},
        {"1E+300", 1e300},
        {"34359738367", 34359738367.0},
    };
    for (const auto& [text, value] : cases) {
        const auto parsed = parseNumber(text);
        ASSERT_TRUE(parsed.has_value()) << text;
        EXPECT_EQ(*parsed, value) << text;
    }
}

TEST(NumericText, RefusesEverythingElse) {
    for (const char* text :
         {"",     " ",     "+",        "-",     ".",     "e5",     "1e",          "1e+", "0x10",
          "&H10", "1,000", "Infinity", "NaN",   "inf",   "1..2",   "1.2.3",       "12a", "\t12",
          "1 2",  "--1",   "+-1",      "1e5.0", "1e400", "-1e400", "\xef\xbc\x91"}) {
        EXPECT_FALSE(IsNumeric(text)) << text;
    }
}

TEST(NumericText, TrimsSpacesOnly) {
    EXPECT_EQ(trimSpaces("  a b  "), "a b");
    EXPECT_EQ(trimSpaces("\ta\t"), "\ta\t");
    EXPECT_EQ(trimSpaces("    "), "");
}

TEST(WholeNumberConversion, RoundsHalfToEven) {
    const std::pair<double, std::int32_t> cases[] = {
        {0.5, 0},
        {1.5, 2},
        {2.5, 2},
        {-0.5, 0},
        {-1.5, -2},
        {12.5, 12},
        {13.5, 14},
        {2.4999, 2},
        {-2.5, -2},
        {2147483647.4, 2147483647},
        {-2147483648.5, -2147483648},
    };
    for (const auto& [value, expected] : cases) EXPECT_EQ(toInt32(value), expected) << value;
    EXPECT_EQ(toInt16(32766.5), 32766);
    EXPECT_EQ(toInt16(-32768.5), -32768);
}

TEST(WholeNumberConversion, RaisesOverflowWhenTheResultDoesNotFit) {
    for (double value : {2147483647.5, -2147483649.0, 1e10, 1e300, double(HUGE_VAL), double(NAN)}) {
        try {
            toInt32(value);
            ADD_FAILURE() << value;
        } catch (const NumericError& e) {
            EXPECT_EQ(e.text(), "6 Overflow");
        }
    }
    EXPECT_THROW(toInt16(32767.5), NumericError);
    EXPECT_THROW(toInt16(40000), NumericError);
    EXPECT_THROW(textToInt16("-32769"), NumericError);
}

TEST(WholeNumberConversion, TextThatIsNoNumberIsATypeMismatch) {
    try {
        textToInt32("abc");
        FAIL();
    } catch (const NumericError& e) {
        EXPECT_EQ(e.number(), 13);
        EXPECT_EQ(e.description(), "Type mismatch");
    }
    EXPECT_EQ(textToInt32(" 12.5 "), 12);
}

TEST(FormatNumber, WritesWholeNumbersInFullAndLargeOnesLikeTheMessages) {
    EXPECT_EQ(formatNumber(70000), "70000");
    EXPECT_EQ(formatNumber(34359738368.0), "34359738368");
    EXPECT_EQ(formatNumber(123456789012345.0), "123456789012345");
    EXPECT_EQ(formatNumber(1e15), "1E+15");
    EXPECT_EQ(formatNumber(1e300), "1E+300");
    EXPECT_EQ(formatNumber(12345678901234567.0), "1.23456789012346E+16");
    EXPECT_EQ(formatNumber(-5), "-5");
    EXPECT_EQ(formatNumber(1.5), "1.5");
    EXPECT_EQ(formatNumber(-0.0), "0");
}

}  // namespace
}  // namespace morvane
