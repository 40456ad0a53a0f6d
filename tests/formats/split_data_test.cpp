#include "formats/split_data.h"

#include <gtest/gtest.h>

#include <random>
#include <string>

#include "formats/card_format.h"
#include "formats/prox_data.h"
#include "formats/split_catalogue.h"
#include "support/recording_host.h"

namespace morvane {
namespace {

// Every column's texts, "26=1,1 Proxif=131074,48,0" for the matching ones, "Not 34 Bit" for a
// refusal, read off a result as the page shows them.
std::string shown(const SplitResult& r, bool refusals = false) {
    std::string text;
    for (const SplitColumn& c : splitColumns()) {
        if (r.matches(c.id) == refusals) continue;
        text += (text.empty() ? "" : " ") + std::string(layout(c.layout).code) + "=";
        std::string cells;
        for (std::size_t row = 0; row < kGridRowCount; ++row) {
            const std::string cell = cellText(r, c.id, static_cast<GridRow>(row));
            if (c.fields[row].present() || !cell.empty())
                cells += (cells.empty() ? "" : ",") + cell;
        }
        text += cells;
    }
    return text;
}

// The worked examples of the Convert direction and near misses.
const std::pair<const char*, const char*> kExamples[] = {
    {"0000000600400002", "26=1,1 Proxif=131074,48,0 Casi=100794370,0"},
    {"0000000475460163", "26=12345,123 37V=208953,79 37=208953,79,41627705 Casi=83255411,0"},
    {"0000201730060163", "34=12345,123 Proxif=24691,8315,0"},
    {"0000601730060162", "35=12345,123 Proxif=24690,24699,0"},
    {"0000401730060163", "35V=12345,123 Proxif=24691,16507,0"},
    {"0000000754060163", "36V=792604,15 37V=12345,123 37=12345,123,64499769 Casi=128999539,0"},
    {"0001000755060162", "37V=143417,123 37=143417,123,64630841 Casi=129261682,1"},
    {"0000000755060162", "Casi=129261682,0"},  // bit 18 set: the 37-bit even group is odd
    {"0000000000060163", "36V=6172,0 37V=12345,0 37=12345,0,12345 Proxif=24691,0,0 Casi=24691,0"},
    {"0005001730030071", "Proxif=12345,123,5 Casi=257962041,5"},
    {"0173000000030071", "Casi=12345,123"},
    {"0377037777777777", "Casi=4294967295,255"},
    {"0000701730060163", "35V=12345,4219 Proxif=24691,28795,0"},  // 35V facility: fixed bit too
    {"4000601730060162", "35=12345,123"},  // only the 35-bit check ignores bits above it
    {"4000000600400002", ""},
    {"", ""},
    {"7", "36V=1,0 37V=3,0 37=3,0,3 Proxif=7,0,0 Casi=7,0"},
};

TEST(SplitData, ShowsEveryMatchingFormat) {
    for (const auto& [cardData, matches] : kExamples) {
        const SplitResult r = SplitData(cardData);
        EXPECT_EQ(r.state, SplitState::Split) << cardData;
        EXPECT_EQ(shown(r), matches) << cardData;
        EXPECT_EQ(r.anyMatch(), *matches != '\0') << cardData;
    }
    EXPECT_EQ(bitData(SplitData("7")), std::string(45, '0') + "111");
    EXPECT_EQ(bitData(SplitData("")), "");
}

// Empty card data is no credential: every column shows its refusal, the 37-bit one twice.
TEST(SplitData, ShowsEachRefusalInItsColumn) {
    EXPECT_EQ(shown(SplitData(""), true),
              "26=Not 26 Bit, 34=Not 34 Bit, 35=Not 35 Bit, 35V=Not 35V, 36V=Not 36 Bit V, "
              "37V=Not 37 Bit V, 37=Not 37 Bit,,Not 37 Bit Proxif=Not Proxif,, Casi=Not Casi,");
}

TEST(SplitData, RejectsAnyCharacterButAnOctalDigitAndOverlongCardData) {
    std::vector<std::string> rejected{"12345678", "600400002 ", " 600400002",  "6004000A2",
                                      "-1",       "+600400002", "\t600400002", "\xc3\xa9",
                                      "\x7f",     "/",          ":",           "00000000000000000"};
    rejected.emplace_back("6004\0002", 6);
    for (const std::string& cardData : rejected) {
        const SplitResult r = SplitData(cardData);
        EXPECT_EQ(r.state, SplitState::Rejected) << cardData;
        EXPECT_EQ(bitData(r) + shown(r, true), "26= 34= 35= 35V= 36V= 37V= 37= Proxif= Casi=")
            << cardData;
        EXPECT_FALSE(r.anyMatch()) << cardData;
    }
}

// Credentials encoded by the Convert direction come back in their own column, limits included,
// and split the same with up to 15 of their leading zeros left off; every column's explanation
// passes exactly when its check does.
TEST(SplitData, GivesBackWhatTheConvertDirectionEncodedWithOrWithoutLeadingZeros) {
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
            const std::string cardData = CalcProxData(std::to_string(v[0]), l.code, fc, host);
            const SplitResult r = SplitData(cardData);
            const auto dropped = std::min(cardData.find_first_not_of('0'), std::size_t(i % 16));
            const SplitResult shorter = SplitData(std::string_view(cardData).substr(dropped));
            EXPECT_EQ(bitData(shorter) + shown(shorter) + shown(shorter, true),
                      bitData(r) + shown(r) + shown(r, true))
                << cardData << " " << dropped;
            ASSERT_TRUE(r.matches(column.id)) << l.code << " " << i;
            for (const SplitColumn& other : splitColumns()) {
                EXPECT_EQ(explainColumn(other.id, shorter.word).passes, r.matches(other.id));
            }
            for (std::size_t k = 0; k < (l.version.present() ? 3U : 2U); ++k) {
                EXPECT_EQ(r.column(column.id).values[k], v[k]) << l.code;
            }
        }
    }
}

}  // namespace
}  // namespace morvane
