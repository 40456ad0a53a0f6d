#include "formats/split_data.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "formats/card_format.h"
#include "formats/prox_data.h"
#include "formats/split_catalogue.h"
#include "formats/split_checks.h"
#include "support/recording_host.h"

namespace morvane {
namespace {

// The matching columns with their boxes' texts, "26=1,1 Proxif=131074,48,0", read off a result.
std::string matchesOf(const SplitResult& r) {
    std::string text;
    for (const SplitColumn& c : splitColumns()) {
        if (!r.matches[static_cast<std::size_t>(c.id)]) continue;
        text += (text.empty() ? "" : " ") + std::string(layout(c.layout).code) + "=";
        for (std::size_t i = 0; i < c.slices.size(); ++i) {
            text += (i ? "," : "") + r.box(c.slices[i].box);
        }
    }
    return text;
}

struct Example {
    const char* cardData;
    const char* matches;
};

// The worked examples of the Convert direction, near misses, and short card data, which is
// read at the same character positions from the left.
const Example kExamples[] = {
    {"0000000600400002", "26=1,1 Proxif=131074,48,0 Casi=100794370,0"},
    {"0000000475460163", "26=12345,123 37V=208953,79 37=208953,79,41627705 Casi=83255411,0"},
    {"0000201730060163", "34=12345,123 Proxif=24691,8315,0"},
    {"0000601730060162", "35=12345,123 Proxif=24690,24699,0"},
    {"0000401730060163", "35V=12345,123 Proxif=24691,16507,0"},
    {"0000007540140346",
     "36V=12345,123 37V=24691,984 37=24691,984,515924083 Proxif=49382,492,0 Casi=1031848166,0"},
    {"0000000754060163", "36V=792604,15 37V=12345,123 37=12345,123,64499769 Casi=128999539,0"},
    {"0001000755060162", "37V=143417,123 37=143417,123,64630841 Casi=129261682,1"},
    {"0000000755060162", "Casi=129261682,0"},  // bit 18 set: the 37-bit even group is odd
    {"0000000000060163", "36V=6172,0 37V=12345,0 37=12345,0,12345 Proxif=24691,0,0 Casi=24691,0"},
    {"0005001730030071", "Proxif=12345,123,5 Casi=257962041,5"},
    {"0173000000030071", "Casi=12345,123"},
    {"0377037777777777", "Casi=4294967295,255"},
    {"0000701730060163", "35V=12345,4219 Proxif=24691,28795,0"},  // 35V facility: fixed bit too
    {"4000601730060162", "35=12345,123"},    // only the 35-bit check ignores bits above it
    {"4000000600400002", ""},
    {"", ""},
    {"7", ""},
    {"20060016", ""},
    {"000600400002", "26=2,0"},
    {"600400002", "26=,2"},        // the hotstamp slice starts past the end
    {"000003000002", "36V=2,384"},  // 36 bits: the even group runs down to bit 18
    {"400001000002", "36V=2,128"},  // and bit 18 alone completes it with the parity bit
};

TEST(SplitData, ShowsEveryMatchingFormat) {
    for (const Example& e : kExamples) {
        const SplitResult r = SplitData(e.cardData);
        EXPECT_EQ(r.state, SplitState::Split) << e.cardData;
        EXPECT_EQ(matchesOf(r), e.matches) << e.cardData;
        EXPECT_EQ(r.anyMatch(), *e.matches != '\0') << e.cardData;
    }
    EXPECT_EQ(SplitData("0000000600400002").bitData,
              "000000000000000000000110000000100000000000000010");
    EXPECT_EQ(SplitData("7").bitData, "111");
}

TEST(SplitData, WritesEachRefusalIntoItsColumn) {
    const ResultBoxes refused{
        "Not 26 Bit", "Not 35V",    "",           "Not 36 Bit V", "",         "Not 37 Bit V", "",
        "Not 35 Bit", "",           "Not 34 Bit", "",             "",         "Not 37 Bit",   "",
        "Not 37 Bit", "Not Proxif", "",           "",             "Not Casi", "",
    };
    EXPECT_EQ(SplitData("7").boxes, refused);
    // A change of the card data empties txt26Num first, then the bit data, then the rest.
    const auto cleared = clearedBoxNames();
    EXPECT_EQ(std::vector(cleared.begin(), cleared.begin() + 3),
              (std::vector<std::string_view>{"txt26Num", "txtBits", "txt35VNum"}));
}

TEST(SplitData, RejectsAnyCharacterButAnOctalDigitAndOverlongCardData) {
    const std::string rejected[] = {
        "12345678", "600400002 ", " 600400002", "6004000A2", "+600400002", "-1",
        "????????????????", "\t600400002", "\xc3\xa9", "\x7f", "/", ":",
        std::string("6004\0" "00002", 10), "00000000000000000",
    };
    for (const std::string& cardData : rejected) {
        const SplitResult r = SplitData(cardData);
        EXPECT_EQ(r.state, SplitState::Rejected) << cardData;
        EXPECT_EQ(r.bitData, "") << cardData;
        EXPECT_EQ(r.boxes, ResultBoxes{}) << cardData;
        EXPECT_FALSE(r.anyMatch()) << cardData;
    }
}

// Each check alone: a credential, then the same card data with one fault.
TEST(SplitChecks, RefuseAMissingMarkerAOneAboveTheFrameOrABrokenParity) {
    struct Case {
        const char* cardData;
        bool (*check)(CardWord);
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
        {"0001007540140346", IsFormat36V, false},     // bit 36 set above the frame
        {"0000002754060163", IsFormat37, false},      // bit 37 set above the frame
        {"0000002754060163", IsFormat37V, false},
        {"0005001734030071", IsFormatProxif, false},  // bit 20 set
        {"0015001730030071", IsFormatProxif, false},  // bit 39 set
        {"0173100000030071", IsFormatCasi, false},    // bit 32 set
        {"0573000000030071", IsFormatCasi, false},    // bit 44 set
        {"173000000030071", IsFormatCasi, false},     // 45 bits
        {"005001730030071", IsFormatProxif, false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.check(*parseCardData(c.cardData)), c.expected) << c.cardData;
    }
    // Bit 0 set too: were bit 18 counted in the odd group as well, this would pass.
    EXPECT_FALSE(IsFormat36V(*parseCardData("000003000003")));
    // One digit more and bit 18 leaves the even group: the same bits no longer pass.
    EXPECT_FALSE(IsFormat36V(*parseCardData("0000003000002")));
}

// Credentials encoded by the Convert direction come back in their own column, limits included.
TEST(SplitData, GivesBackWhatTheConvertDirectionEncoded) {
    std::mt19937_64 random(20240611);
    for (const SplitColumn& column : splitColumns()) {
        const Layout& l = layout(column.layout);
        const std::uint64_t limits[] = {l.hotstampLimit, l.facilityLimit.value_or(0),
                                        l.versionLimit.value_or(0)};
        for (int i = 0; i < 300; ++i) {
            std::array<std::uint64_t, 3> v{};
            for (std::size_t k = 0; k < v.size(); ++k) {
                v[k] = i == 0 ? 0 : i == 1 ? limits[k] : random() % (limits[k] + 1);
            }
            if (l.id == LayoutId::F37) v[1] = std::max<std::uint64_t>(v[1], 1);
            test::RecordingHost host;
            host.facility = std::to_string(v[1]);
            host.version = std::to_string(v[2]);
            const auto fc = static_cast<std::int32_t>(v[1]);
            const SplitResult r = SplitData(CalcProxData(std::to_string(v[0]), l.code, fc, host));
            ASSERT_TRUE(r.matches[static_cast<std::size_t>(column.id)]) << l.code << " " << i;
            for (std::size_t k = 0; k < 2; ++k) {
                EXPECT_EQ(r.box(column.slices[k].box), std::to_string(v[k])) << l.code;
            }
            if (l.version.present()) {
                EXPECT_EQ(r.box(column.slices[2].box), host.version);
            }
        }
    }
}

}  // namespace
}  // namespace morvane
