#include "formats/prox_data.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/card_format.h"
#include "formats/numeric_error.h"
#include "support/recording_host.h"

namespace morvane {
namespace {

using test::RecordingHost;

struct Example {
    const char* code;
    const char* hotstamp;
    std::int32_t facility;
    std::int32_t version;
    const char* proxData;
};

// The catalogue's worked examples; Proxif and Casi read facility and version from the boxes.
constexpr Example kExamples[] = {
    {"26", "1", 1, 0, "0000000600400002"},
    {"26", "12345", 123, 0, "0000000475460163"},
    {"34", "12345", 123, 0, "0000201730060163"},
    {"35", "12345", 123, 0, "0000601730060162"},
    {"35V", "12345", 123, 0, "0000401730060163"},
    {"36V", "12345", 123, 0, "0000007540140346"},
    {"37", "12345", 123, 0, "0000000754060163"},
    {"37", "143417", 123, 0, "0001000755060162"},
    {"37V", "143417", 123, 0, "0001000755060162"},
    {"37", "12345", 0, 0, "0000000000060163"},
    {"37", "600000", 0, 0, "0001000004447600"},
    {"Proxif", "12345", 123, 5, "0005001730030071"},
    {"Casi", "12345", 123, 0, "0173000000030071"},
    {"Casi", "4294967295", 255, 0, "0377037777777777"},
    {"Casi", "1073741824", 0, 0, "0000010000000000"},
    {"26", "0", 0, 0, "0000000400000001"},
    {"26", "1", 1, 0, "0000000600400002"},
};

TEST(CalcProxData, GivesTheWorkedExamples) {
    for (const Example& e : kExamples) {
        RecordingHost host;
        host.facility = std::to_string(e.facility);
        host.version = std::to_string(e.version);
        EXPECT_EQ(CalcProxData(e.hotstamp, e.code, e.facility, host), e.proxData)
            << e.code << " " << e.hotstamp;
        EXPECT_TRUE(host.messages.empty());
        EXPECT_TRUE(host.wroteNoBox());
    }
}

TEST(CalcProxDataUSB, GivesTheSameDigitsForTheCodesAReaderProduces) {
    for (const Example& e : kExamples) {
        const std::string code = e.code;
        if (code != "26" && code != "34" && code != "35V" && code != "36V") continue;
        RecordingHost host;
        EXPECT_EQ(CalcProxDataUSB(e.hotstamp, e.code, e.facility, host), e.proxData);
        EXPECT_TRUE(host.messages.empty());
    }
    RecordingHost host;
    EXPECT_EQ(CalcProxDataUSB("143417", "37", 123, host), "0001000755060162");
}

struct Limit {
    const char* code;
    std::int32_t facilityForHotstampTest;  // keeps "37" on its facility layout
    std::uint64_t hotstampLimit;
    std::int64_t facilityLimit;
};

constexpr Limit kLimits[] = {
    {"26", 1, 65535, 255},      {"34", 1, 1048575, 4095},      {"35", 1, 1048575, 4095},
    {"35V", 1, 1048575, 4095},  {"36V", 1, 2097151, 4095},     {"37", 1, 524287, 65535},
    {"37V", 1, 524287, 65535},  {"Proxif", 1, 1048575, 32767}, {"Casi", 1, 4294967295, 255},
    {"37", 0, 34359738367, -1},
};

bool isProxData(const std::string& text) {
    return text.size() == 16 && text.find_first_not_of("01234567") == std::string::npos;
}

TEST(CalcProxData, AcceptsEachLimitAndRefusesOneAbove) {
    for (const Limit& l : kLimits) {
        SCOPED_TRACE(std::string(l.code) + " facility " +
                     std::to_string(l.facilityForHotstampTest));
        const std::string fac = std::to_string(l.facilityForHotstampTest);
        RecordingHost atLimit;
        atLimit.facility = fac;
        EXPECT_TRUE(isProxData(CalcProxData(std::to_string(l.hotstampLimit), l.code,
                                            l.facilityForHotstampTest, atLimit)));
        EXPECT_TRUE(atLimit.messages.empty());

        RecordingHost above;
        above.facility = fac;
        const std::string over = std::to_string(l.hotstampLimit + 1);
        EXPECT_EQ(CalcProxData(over, l.code, l.facilityForHotstampTest, above), kNoResult);
        ASSERT_EQ(above.messages.size(), 1U);
        EXPECT_EQ(above.messages[0], "Hotstamp " + over + " is too large. " +
                                         std::to_string(l.hotstampLimit) + " is max.");
        EXPECT_EQ(above.hotstampWrites, std::vector<std::string>{std::to_string(l.hotstampLimit)});

        if (l.facilityLimit < 0) continue;
        RecordingHost facAtLimit;
        facAtLimit.facility = std::to_string(l.facilityLimit);
        EXPECT_TRUE(isProxData(
            CalcProxData("1", l.code, static_cast<std::int32_t>(l.facilityLimit), facAtLimit)));
        RecordingHost facAbove;
        const auto overFac = static_cast<std::int32_t>(l.facilityLimit + 1);
        facAbove.facility = std::to_string(overFac);
        EXPECT_EQ(CalcProxData("1", l.code, overFac, facAbove), kNoResult);
        ASSERT_EQ(facAbove.messages.size(), 1U);
        EXPECT_EQ(facAbove.messages[0], "Facility Code " + std::to_string(overFac) +
                                            " is too large. " + std::to_string(l.facilityLimit) +
                                            " is max.");
        EXPECT_EQ(facAbove.facilityWrites.back(), std::to_string(l.facilityLimit));
        EXPECT_TRUE(facAbove.hotstampWrites.empty());
    }
}

TEST(CalcProxData, ReportsOnlyTheHotstampWhenBothValuesAreTooLarge) {
    RecordingHost host;
    EXPECT_EQ(CalcProxData("70000", "26", 300, host), kNoResult);
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"Hotstamp 70000 is too large. 65535 is max."});
    EXPECT_TRUE(host.facilityWrites.empty());
}

TEST(CalcProxData, ChecksTheProxifVersionFromItsBox) {
    RecordingHost host;
    host.facility = "123";
    host.version = "8";
    EXPECT_EQ(CalcProxData("12345", "Proxif", 0, host), kNoResult);
    EXPECT_EQ(host.messages, std::vector<std::string>{"Version 8 is too large. 7 is max."});
    EXPECT_EQ(host.versionWrites, std::vector<std::string>{"7"});
}

TEST(CalcProxData, RefusesHotstampsThatAreNoWholeNumberOfAtLeastZero) {
    for (const char* text : {"12a", "-5", "1.5", "0x10", "1e400", " ", "NaN", "-1e300"}) {
        RecordingHost host;
        EXPECT_EQ(CalcProxData(text, "26", 1, host), "") << text;
        EXPECT_EQ(host.messages, std::vector<std::string>{"Invalid Serial Number"}) << text;
    }
    RecordingHost host;
    EXPECT_EQ(CalcProxData(" 7 ", "26", 0, host), "0000000400000016");
    EXPECT_EQ(CalcProxData("-0", "26", 0, host), "0000000400000001");
    EXPECT_EQ(CalcProxData("1.0e1", "26", 0, host), CalcProxData("10", "26", 0, host));
}

TEST(CalcProxData, TestsTheHotstampBeforeTheFormat) {
    RecordingHost empty;
    EXPECT_EQ(CalcProxData("", "", 0, empty), "");
    EXPECT_TRUE(empty.messages.empty());

    RecordingHost invalid;
    EXPECT_EQ(CalcProxData("12a", "", 0, invalid), "");
    EXPECT_EQ(invalid.messages, std::vector<std::string>{"Invalid Serial Number"});

    RecordingHost noFormat;
    EXPECT_EQ(CalcProxData("12", "", 0, noFormat), "");
    EXPECT_EQ(noFormat.messages, std::vector<std::string>{"Undefined card format / facility code"});
}

TEST(CalcProxData, GivesTheNoResultValueSilentlyForUnknownCodes) {
    for (const char* code : {"36", "26 ", "35v", "proxif", "37NFC", "CASI"}) {
        RecordingHost host;
        EXPECT_EQ(CalcProxData("12345", code, 1, host), kNoResult) << code;
        EXPECT_TRUE(host.messages.empty());
    }
}

TEST(CalcProxData, NamesTheValueOfHugeHotstamps) {
    RecordingHost host;
    EXPECT_EQ(CalcProxData("1E+300", "26", 1, host), kNoResult);
    EXPECT_EQ(CalcProxData("99999999999999999999", "37", 0, host), kNoResult);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"Hotstamp 1E+300 is too large. 65535 is max.",
                                        "Hotstamp 1E+20 is too large. 34359738367 is max."}));
    EXPECT_EQ(host.hotstampWrites, (std::vector<std::string>{"65535", "34359738367"}));
}

TEST(CalcProxData, RefusesNegativeFacilityCodesAndVersionsWithoutTouchingABox) {
    RecordingHost host;
    EXPECT_EQ(CalcProxData("1", "26", -5, host), kNoResult);
    host.facility = "-5";
    EXPECT_EQ(CalcProxData("1", "Casi", 0, host), kNoResult);
    host.facility = "1";
    host.version = "-1";
    EXPECT_EQ(CalcProxData("1", "Proxif", 0, host), kNoResult);
    EXPECT_EQ(host.messages, (std::vector<std::string>{"Facility Code -5 is too small. 0 is min.",
                                                       "Facility Code -5 is too small. 0 is min.",
                                                       "Version -1 is too small. 0 is min."}));
    EXPECT_TRUE(host.wroteNoBox());
}

TEST(CalcProxData, ReadsTheProxifAndCasiBoxesAsWholeNumbers) {
    RecordingHost host;
    host.facility = " 123 ";
    host.version = "";
    EXPECT_EQ(CalcProxData("12345", "Proxif", 0, host), "0000001730030071");
    host.facility = "122.5";
    EXPECT_EQ(CalcProxData("12345", "Casi", 0, host), "0172000000030071");
    EXPECT_TRUE(host.messages.empty());

    host.facility = "abc";
    EXPECT_EQ(CalcProxData("12345", "Casi", 0, host), kNoResult);
    host.facility = "1";
    host.version = "x";
    EXPECT_EQ(CalcProxData("12345", "Proxif", 0, host), kNoResult);
    EXPECT_EQ(host.messages,
              (std::vector<std::string>{"Invalid Facility Code", "Invalid Version"}));

    host.facility = "1e10";
    try {
        CalcProxData("12345", "Casi", 0, host);
        FAIL();
    } catch (const NumericError& e) {
        EXPECT_EQ(e.text(), "6 Overflow");
    }
}

TEST(CalcProxDataUSB, UsesTheFacilityLayoutFor37BitsAndWritesNoBox) {
    RecordingHost host;
    EXPECT_EQ(CalcProxDataUSB("600000", "37", 0, host), kNoResult);
    EXPECT_EQ(host.messages,
              std::vector<std::string>{"Hotstamp 600000 is too large. 524287 is max."});
    EXPECT_EQ(CalcProxDataUSB("1", "26", 256, host), kNoResult);
    EXPECT_TRUE(host.wroteNoBox());
}

TEST(CalcProxDataUSB, KnowsNoProxifNoCasiAnd35Or37V) {
    for (const char* code : {"Casi", "Proxif", "35", "37V", "36"}) {
        RecordingHost host;
        EXPECT_EQ(CalcProxDataUSB("12345", code, 1, host), kNoResult) << code;
        EXPECT_TRUE(host.messages.empty());
    }
    RecordingHost host;
    EXPECT_EQ(CalcProxDataUSB("12345", "", 1, host), "");
    EXPECT_EQ(host.messages, std::vector<std::string>{"Undefined card format / facility code"});
}

TEST(CalcProxDataUSB, CutsVortaValuesToTheirFieldsWithoutAMessage) {
    RecordingHost host;
    // Facility 4096 keeps only its 12 low bits, all 0.
    EXPECT_EQ(CalcProxDataUSB("12345", "35V", 4096, host),
              CalcProxDataUSB("12345", "35V", 0, host));
    EXPECT_EQ(CalcProxDataUSB("2097152", "35V", 1, host), CalcProxDataUSB("0", "35V", 1, host));
    EXPECT_EQ(CalcProxDataUSB("3000000", "36V", 1, host).size(), 16U);
    EXPECT_TRUE(host.messages.empty());
    EXPECT_THROW(CalcProxDataUSB("1e12", "36V", 1, host), NumericError);
}

}  // namespace
}  // namespace morvane
