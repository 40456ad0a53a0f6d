#include "formats/numeric_text.h"

#include <gtest/gtest.h>

#include <cmath>

#include "formats/bits.h"
#include "formats/numeric_error.h"

namespace morvane {
namespace {

TEST(NumericText, ReadsTheDecimalNotations) {
    const std::pair<const char*, double> cases[] = {
        {"  12  ", 12}, {"+1", 1},      {"-1", -1},         {"1.", 1},
        {".5", 0.5},    {"1E+05", 1e5}, {"1.5e-3", 1.5e-3}, {"007", 7},
        {"-0", 0},      {"1e5", 1e5},   {"1E+300", 1e300},  {"34359738367", 34359738367.0},
    };
    for (const auto& [text, value] : cases) EXPECT_EQ(parseNumber(text), value) << text;
}

TEST(NumericText, RefusesEverythingElse) {
    for (const char* text :
         {"",     " ",     "+",        "-",     ".",     "e5",     "1e",    "1e+",         "0x10",
          "&H10", "1,000", "Infinity", "NaN",   "inf",   "1..2",   "1.2.3", "12a",         "\t12",
          "1 2",  "--1",   "+-1",      "1e5.0", "1e400", "-1e400", "1e5x",  "\xef\xbc\x91"}) {
        EXPECT_FALSE(IsNumeric(text)) << text;
    }
}

TEST(WholeNumberConversion, RoundsToTheNearestAndHalvesToEven) {
    const double values[] = {0.5,  1.5,   2.5,  -0.5, -1.5,         13.5,         2.4999,
                             12.7, -12.7, 12.2, -2.5, 2147483647.4, -2147483648.5};
    const std::int32_t rounded[] = {0, 2, 2, 0, -2, 14, 2, 13, -13, 12, -2, INT32_MAX, INT32_MIN};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        EXPECT_EQ(fitInt32(values[i]), rounded[i]) << values[i];
        EXPECT_EQ(toInt32(values[i]), rounded[i]) << values[i];
    }
    EXPECT_EQ(fitInt16(32766.5), 32766);
    EXPECT_EQ(fitInt16(-32768.5), -32768);
}

TEST(WholeNumberConversion, OverflowIsNoValueOrTheWindowsError) {
    for (double value : {2147483647.5, -2147483649.0, 1e300, double(HUGE_VAL), double(NAN)}) {
        EXPECT_EQ(fitInt32(value), std::nullopt) << value;
        EXPECT_THROW(toInt32(value), NumericError) << value;
    }
    EXPECT_EQ(fitInt16(32767.5), std::nullopt);
    EXPECT_EQ(fitInt16(-32769), std::nullopt);
    EXPECT_THROW(toInt16(40000), NumericError);
    EXPECT_THROW(textToInt16("-32769"), NumericError);
    EXPECT_EQ(textToInt16(" 12.5 "), 12);
    EXPECT_EQ(textToInt32(" 12.5 "), 12);
    for (const auto& [text, message] :
         {std::pair{"1e300", "6 Overflow"}, {"abc", "13 Type mismatch"}}) {
        try {
            textToInt32(text);
            ADD_FAILURE() << text;
        } catch (const NumericError& e) {
            EXPECT_EQ(e.text(), message);
        }
    }
}

TEST(FormatNumber, WritesWholeNumbersInFullAndLargeOnesLikeTheMessages) {
    const std::pair<double, const char*> cases[] = {
        {70000, "70000"}, {123456789012345.0, "123456789012345"},
        {1e15, "1E+15"},  {12345678901234567.0, "1.23456789012346E+16"},
        {-5, "-5"},       {1.5, "1.5"},
        {-0.0, "0"}};
    for (const auto& [value, text] : cases) EXPECT_EQ(formatNumber(value), text) << text;
}

TEST(GetNumber, GivesTheDecimalValueOfABitStringOfAnyLength) {
    const std::pair<std::string, std::string> cases[] = {
        {"1011", "11"},
        {"0000", "0"},
        {"", ""},
        {"1x1", "5"},
        {std::string(64, '1'), "18446744073709551615"},
        {"1" + std::string(64, '0'), "18446744073709551616"},
        {"0001" + std::string(100, '0'), "1267650600228229401496703205376"}};
    for (const auto& [bits, decimal] : cases) EXPECT_EQ(GetNumber(bits), decimal) << bits;
}

}  // namespace
}  // namespace morvane
