#include "formats/bits.h"

#include <gtest/gtest.h>

#include <string>

namespace morvane {
namespace {

TEST(GetNumber, GivesTheDecimalValueOfABitString) {
    const std::pair<std::string, std::string> cases[] = {
        {"1011", "11"},
        {"0000", "0"},
        {"", ""},
        {"1" + std::string(35, '0'), "34359738368"},
        {std::string(48, '1'), "281474976710655"},
        {std::string(64, '1'), "18446744073709551615"},
        {"1" + std::string(64, '0'), "18446744073709551616"},
        {"0001" + std::string(100, '0'), "1267650600228229401496703205376"},
    };
    for (const auto& [bits, decimal] : cases) EXPECT_EQ(GetNumber(bits), decimal) << bits;
}

TEST(OctalText, PacksSignificantDigitsAndFixedFields) {
    EXPECT_EQ(significantOctal(0), "");
    EXPECT_EQ(significantOctal(0b110000000100000000000000010), "600400002");
    EXPECT_EQ(octalField(5, 4), "0005");
    EXPECT_EQ(octalField(0, 3), "000");
    // A value wider than its field loses its leading digits.
    EXPECT_EQ(octalField(0777, 2), "77");
}

}  // namespace
}  // namespace morvane
