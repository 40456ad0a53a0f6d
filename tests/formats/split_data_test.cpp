#include "formats/split_data.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <set>
#include <string>

#include "formats/prox_data.h"
#include "formats/split_checks.h"
#include "support/recording_host.h"
#include "support/split_examples.h"

namespace morvane {
namespace {

using test::pageAfterSplit;

// The check order, which is also the order of SplitResult::matches.
const std::string kCheckOrder[] = {"26", "34", "35", "35V", "36V", "37V", "37", "Proxif", "Casi"};

test::Page pageOf(const SplitResult& r) {
    test::Page page;
    for (std::size_t i = 0; i < kResultBoxCount; ++i) {
        page[std::string(boxName(static_cast<ResultBox>(i)))] = r.boxes[i];
    }
    return page;
}

void expectSplit(std::string_view cardData, const std::string& matches) {
    const SplitResult r = SplitData(cardData);
    std::set<std::string> matched, expected;
    for (std::size_t i = 0; i < r.matches.size(); ++i) {
        if (r.matches[i]) matched.insert(kCheckOrder[i]);
    }
    for (const auto& [code, texts] : test::parseMatches(matches)) expected.insert(code);
    EXPECT_EQ(r.state, SplitState::Split) << cardData;
    EXPECT_EQ(r.bitData.size(), cardData.size() * 3) << cardData;
    EXPECT_EQ(matched, expected) << cardData;
    EXPECT_EQ(pageOf(r), pageAfterSplit(matches)) << cardData;
    EXPECT_EQ(r.anyMatch(), !expected.empty()) << cardData;
}

TEST(SplitData, ShowsEveryMatchingFormatOfSixteenDigitCardData) {
    for (const test::SplitExample& e : test::sixteenDigitExamples()) {
        expectSplit(e.cardData, e.matches);
    }
    EXPECT_EQ(SplitData("0000000600400002").bitData,
              "000000000000000000000110000000100000000000000010");
}

TEST(SplitData, NamesTheBoxesItEmptiesInTheWindowsOrder) {
    const auto cleared = clearedBoxNames();
    ASSERT_EQ(cleared.size(), 21U);
    EXPECT_EQ(cleared[1], "txtBits");
    for (std::size_t i = 0; i < kResultBoxCount; ++i) {
        EXPECT_EQ(boxName(static_cast<ResultBox>(i)), test::resultBoxNames()[i]);
        EXPECT_EQ(cleared[i == 0 ? 0 : i + 1], test::resultBoxNames()[i]);
    }
}

TEST(SplitData, RejectsAnyCharacterButAnOctalDigitWithoutTrimming) {
    const std::string rejected[] = {
        "12345678",  // the valid digits before the 8 do not help
        "600400002 ",
        " 600400002",
        "60040000a",
        "6004000A2",
        "0x600400002",
        "+600400002",
        "-1",
        "1.5",
        "????????????????",
        "\t600400002",
        "600400002\n",
        "\xc3\xa9",
        "\x80",
        "\x7f",
        std::string("6004\0"
                    "00002",
                    10),
    };
    for (const std::string& cardData : rejected) {
        const SplitResult r = SplitData(cardData);
        EXPECT_EQ(r.state, SplitState::Rejected) << cardData;
        EXPECT_EQ(r.bitData, "") << cardData;
        EXPECT_EQ(pageOf(r), test::emptyPage()) << cardData;
        EXPECT_FALSE(r.anyMatch()) << cardData;
    }
}

TEST(SplitData, ReadsEmptyAndShortCardDataAtTheSameFixedPositions) {
    expectSplit("", "");
    expectSplit("7", "");
    EXPECT_EQ(SplitData("7").bitData, "111");
    expectSplit("20060016", "");  // 24 bits: short of every sentinel
    // The 26-bit credential 1/1 without its four leading zeros.
    expectSplit("000600400002", "26=2,0");
    // The shortest bit data a check passes: the hotstamp slice starts past its end.
    expectSplit("600400002", "26=,2");
}

TEST(SplitData, OnlyTheThirtyFiveBitCheckIgnoresBitsAboveItsSentinel) {
    expectSplit("4000601730060162", "35=12345,123");
    expectSplit("4000000600400002", "");
}

TEST(SplitData, ShowsTheFixedBitOfTheThirtyFiveBitVortaFacility) {
    const SplitResult r = SplitData("0000701730060163");
    EXPECT_TRUE(r.matches[3]);
    EXPECT_EQ(r.box(ResultBox::Num35V), "12345");
    EXPECT_EQ(r.box(ResultBox::Fac35V), "4219");
}

TEST(SplitData, ThirtySixCharacterBitDataSplitsTheVortaGroupsAtBit18) {
    // Bits 19, 18 and 1 set: even group 35..18 holds two 1s, odd group 17..0 one.
    expectSplit("000003000002", "36V=2,384");
    // Bit 0 set too: were bit 18 counted in the odd group as well, this would pass.
    EXPECT_FALSE(IsFormat36V("000000000000000011000000000000000011"));
    // With more characters bit 18 leaves the even group, so the same bits no longer pass.
    EXPECT_FALSE(IsFormat36V("000000000000000000000000000000000011000000000000000010"));
}

TEST(SplitChecks, RefuseAMissingSentinelAOneAboveTheFrameOrABrokenParity) {
    struct Case {
        const char* cardData;
        bool (*check)(std::string_view);
        bool expected;
    };
    const Case cases[] = {
        {"0000000600400002", IsFormat26, true},
        {"0000000200400002", IsFormat26, false},  // no sentinel
        {"0000001600400002", IsFormat26, false},  // a 1 above the sentinel
        {"0000000600400003", IsFormat26, false},  // odd group even
        {"0000000700400002", IsFormat26, false},  // even group odd
        {"0000201730060162", IsFormat34, false},
        {"0000601730060163", IsFormat35, false},  // trailing parity
        {"0000401730060162", IsFormat35, false},  // bit 33 parity
        {"0000641730060162", IsFormat35, false},  // whole-frame parity
        {"0000201730060162", IsFormat35, false},  // no sentinel
        {"0000401730060162", IsFormat35V, false},
        {"0000007540140344", IsFormat36V, false},     // the fixed 1 missing
        {"0000002754060163", IsFormat37, false},      // bit 37 set above the frame
        {"0005001734030071", IsFormatProxif, false},  // bit 20 set
        {"0015001730030071", IsFormatProxif, false},  // bit 39 set
        {"0173100000030071", IsFormatCasi, false},    // bit 32 set
        {"0573000000030071", IsFormatCasi, false},    // bit 44 set
        {"173000000030071", IsFormatCasi, false},     // 45 characters
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.check(SplitData(c.cardData).bitData), c.expected) << c.cardData;
    }
}

// Credentials encoded by the Convert direction come back in their own column, limits included.
TEST(SplitData, GivesBackWhatTheConvertDirectionEncoded) {
    struct Format {
        const char* code;
        std::uint64_t hotstampLimit, facilityLimit, versionLimit;
        std::size_t column;  // index into the check order
    };
    const Format formats[] = {
        {"26", 65535, 255, 0, 0},        {"34", 1048575, 4095, 0, 1},
        {"35", 1048575, 4095, 0, 2},     {"35V", 1048575, 4095, 0, 3},
        {"36V", 2097151, 4095, 0, 4},    {"37V", 524287, 65535, 0, 5},
        {"37", 524287, 65535, 0, 6},     {"Proxif", 1048575, 32767, 7, 7},
        {"Casi", 4294967295, 255, 0, 8},
    };
    std::mt19937_64 random(20240611);
    for (const Format& f : formats) {
        const auto& column = test::pageColumns()[f.column];
        std::vector<std::array<std::uint64_t, 3>> values{
            {0, 0, 0},
            {f.hotstampLimit, f.facilityLimit, f.versionLimit},
            {f.hotstampLimit, 0, 0},
            {0, f.facilityLimit, f.versionLimit},
        };
        for (int i = 0; i < 500; ++i) {
            values.push_back({random() % (f.hotstampLimit + 1), random() % (f.facilityLimit + 1),
                              random() % (f.versionLimit + 1)});
        }
        for (const auto& [h, fc, v] : values) {
            test::RecordingHost host;
            host.facility = std::to_string(fc);
            host.version = std::to_string(v);
            const std::string proxData =
                CalcProxData(std::to_string(h), f.code, static_cast<std::int32_t>(fc), host);
            const SplitResult r = SplitData(proxData);
            ASSERT_TRUE(r.matches[f.column]) << f.code << " " << proxData;
            // The third box: the Proxif version, or the 37-bit number without facility code.
            const std::string third =
                f.column == 7 ? std::to_string(v) : std::to_string(fc << 19 | h);
            const std::string expected[] = {std::to_string(h), std::to_string(fc), third};
            const auto page = pageOf(r);
            for (std::size_t b = 0; b < column.boxes.size(); ++b) {
                EXPECT_EQ(page.at(column.boxes[b]), expected[b]) << f.code << " " << proxData;
            }
        }
    }
}

TEST(SplitData, GivesBackThirtySevenBitHotstampsWithoutFacilityCode) {
    std::mt19937_64 random(7);
    const std::uint64_t limit = 34359738367;
    std::vector<std::uint64_t> hotstamps{0, 524287, 524288, limit};
    for (int i = 0; i < 500; ++i) hotstamps.push_back(random() % (limit + 1));
    for (std::uint64_t h : hotstamps) {
        test::RecordingHost host;
        const SplitResult r = SplitData(CalcProxData(std::to_string(h), "37", 0, host));
        ASSERT_TRUE(r.matches[6]) << h;
        EXPECT_EQ(r.box(ResultBox::Number37), std::to_string(h));
        EXPECT_EQ(r.box(ResultBox::Num37), std::to_string(h & 524287));
        EXPECT_EQ(r.box(ResultBox::Fac37), std::to_string(h >> 19));
    }
}

}  // namespace
}  // namespace morvane
