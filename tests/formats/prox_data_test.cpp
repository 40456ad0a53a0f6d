#include "formats/prox_data.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/card_format.h"
#include "formats/numeric_error.h"
#include "support/recording_host.h"

namespace morvane {
namespace {

using test::RecordingHost;
using Texts = std::vector<std::string>;

// The facility code also fills the facility box, which Proxif and Casi read with the version box.
struct Example {
    const char *code, *hotstamp;
    std::int32_t facility;
    const char *version, *proxData;
};

// The catalogue's worked examples, each format's frame at its extremes, and plain-digit and
// full-grammar hotstamps alike.
constexpr Example kExamples[] = {
    {"26", "1", 1, "0", "0000000600400002"},
    {"26", "0", 0, "0", "0000000400000001"},
    {"34", "12345", 123, "0", "0000201730060163"},
    {"35", "12345", 123, "0", "0000601730060162"},
    {"35", "699050", 4095, "0", "0000777775252525"},
    {"34", "1048575", 4095, "0", "0000277777777777"},
    {"35V", "12345", 123, "0", "0000401730060163"},
    {"36V", "12345", 123, "0", "0000007540140346"},
    {"37", "12345", 123, "0", "0000000754060163"},
    {"37", "143417", 123, "0", "0001000755060162"},
    {"37V", "143417", 123, "0", "0001000755060162"},
    {"37", "12345", 0, "0", "0000000000060163"},
    {"37", "600000", 0, "0", "0001000004447600"},
    {"37", "34359738367", 0, "0", "0000777777777777"},
    {"Proxif", "12345", 123, "5", "0005001730030071"},
    {"Proxif", "12345", 123, "", "0000001730030071"},
    {"Casi", "4294967295", 255, "0", "0377037777777777"},
    {"Casi", "1073741824", 0, "0", "0000010000000000"},
    {"26", " 7 ", 0, "0", "0000000400000016"},
    {"26", "-0", 0, "0", "0000000400000001"},
    {"26", "1.0e1", 0, "0", "0000000400000025"},
    {"26", "0000000000000000001", 0, "0", "0000000400000002"},
};

// The reader path converts the codes a USB read produces, 37 always with facility code.
TEST(CalcProxData, GivesTheWorkedExamplesAlsoForTheReadersCodes) {
    for (const Example& e : kExamples) {
        RecordingHost host;
        host.facility = std::to_string(e.facility);
        host.version = e.version;
        EXPECT_EQ(CalcProxData(e.hotstamp, e.code, e.facility, host), e.proxData) << e.hotstamp;
        const std::string code = e.code;
        if (code == "26" || code == "34" || code == "35V" || code == "36V" ||
            (code == "37" && e.facility != 0)) {
            EXPECT_EQ(CalcProxDataUSB(e.hotstamp, e.code, e.facility, host), e.proxData);
        }
        EXPECT_TRUE(host.messages.empty() && host.wroteNoBox()) << e.code << " " << e.hotstamp;
    }
}

// Limits come from the catalogue, whose values the command line's format list pins down.
TEST(CalcProxData, AcceptsEachLimitAndRefusesOneAboveSettingTheBoxToIt) {
    for (const Layout& l : layouts()) {
        SCOPED_TRACE(l.description);
        const std::int32_t fc = l.id == LayoutId::F37NFC ? 0 : 1;
        RecordingHost host;
        host.facility = std::to_string(fc);
        const std::string limit = std::to_string(l.hotstampLimit);
        const std::string over = std::to_string(l.hotstampLimit + 1);
        EXPECT_NE(CalcProxData(limit, l.code, fc, host), kNoResult);
        EXPECT_EQ(CalcProxData(over, l.code, fc, host), kNoResult);
        EXPECT_EQ(host.messages,
                  Texts{"Hotstamp " + over + " is too large. " + limit + " is max."});
        EXPECT_EQ(host.hotstampWrites, Texts{limit});
        if (!l.facilityLimit) continue;
        RecordingHost fac;
        const auto atLimit = static_cast<std::int32_t>(*l.facilityLimit);
        const std::string facLimit = fac.facility = std::to_string(atLimit);
        EXPECT_NE(CalcProxData("1", l.code, atLimit, fac), kNoResult);
        const std::string overFac = fac.facility = std::to_string(atLimit + 1);
        EXPECT_EQ(CalcProxData("1", l.code, atLimit + 1, fac), kNoResult);
        EXPECT_EQ(fac.messages,
                  Texts{"Facility Code " + overFac + " is too large. " + facLimit + " is max."});
        EXPECT_EQ(fac.facilityWrites, Texts{facLimit});
        EXPECT_TRUE(fac.hotstampWrites.empty());
    }
}

struct Refusal {
    const char *hotstamp, *code;
    std::int32_t facility;
    const char *facilityBox, *versionBox, *result, *message;
};

// "?" for the sixteen question marks of no result.
constexpr Refusal kRefusals[] = {
    {"", "", 0, "0", "0", "", ""},
    {"12a", "", 0, "0", "0", "", "Invalid Serial Number"},
    {"12", "", 0, "0", "0", "", "Undefined card format / facility code"},
    {"-5", "26", 1, "1", "0", "", "Invalid Serial Number"},
    {"1.5", "26", 1, "1", "0", "", "Invalid Serial Number"},
    {"1e400", "26", 1, "1", "0", "", "Invalid Serial Number"},
    {"12345", "26 ", 1, "1", "0", "?", ""},
    {"12345", "35v", 1, "1", "0", "?", ""},
    {"12345", "Proxif1", 1, "1", "0", "?", ""},
    {"12345", "Proxif12", 1, "1", "0", "?", ""},
    {"70000", "26", 300, "300", "0", "?", "Hotstamp 70000 is too large. 65535 is max."},
    {"1E+300", "26", 1, "1", "0", "?", "Hotstamp 1E+300 is too large. 65535 is max."},
    {"99999999999999999999", "37", 0, "0", "0", "?",
     "Hotstamp 1E+20 is too large. 34359738367 is max."},
    {"1", "26", -5, "0", "0", "?", "Facility Code -5 is too small. 0 is min."},
    {"1", "Casi", 0, "-5", "0", "?", "Facility Code -5 is too small. 0 is min."},
    {"1", "Proxif", 0, "1", "-1", "?", "Version -1 is too small. 0 is min."},
    {"12345", "Proxif", 0, "123", "8", "?", "Version 8 is too large. 7 is max."},
    {"12345", "Casi", 0, "abc", "0", "?", "Invalid Facility Code"},
    {"12345", "Proxif", 0, "1", "x", "?", "Invalid Version"},
    {"12345", "Casi", 0, "122.5", "0", "0172000000030071", ""},
    {"12345", "Casi", 0, " 7 ", "0", "0007000000030071", ""},
};

TEST(CalcProxData, RefusesWithTheWindowsMessages) {
    for (const Refusal& r : kRefusals) {
        RecordingHost host;
        host.facility = r.facilityBox;
        host.version = r.versionBox;
        const std::string_view result = r.result == std::string_view("?") ? kNoResult : r.result;
        EXPECT_EQ(CalcProxData(r.hotstamp, r.code, r.facility, host), result)
            << r.code << " " << r.hotstamp;
        EXPECT_EQ(host.messages, *r.message ? Texts{r.message} : Texts{}) << r.hotstamp;
    }
}

TEST(CalcProxDataUSB, CutsVortaValuesToTheirFieldsAndKnowsNoCasi) {
    RecordingHost host;
    EXPECT_EQ(CalcProxDataUSB("12345", "Casi", 1, host), kNoResult);
    EXPECT_EQ(CalcProxDataUSB("12345", "35V", 4096, host),
              CalcProxDataUSB("12345", "35V", 0, host));
    EXPECT_EQ(CalcProxDataUSB("2097152", "35V", 1, host), CalcProxDataUSB("0", "35V", 1, host));
    EXPECT_EQ(CalcProxDataUSB("3000000", "36V", 1, host), "0000400055615402");
    // Facility bit 12 lands on the leading parity place: counted there, then overwritten.
    EXPECT_EQ(CalcProxDataUSB("12345", "36V", 4096 + 123, host), "0000407540140346");
    EXPECT_TRUE(host.messages.empty());
    EXPECT_EQ(CalcProxDataUSB("-1", "36V", 1, host), "");
    EXPECT_EQ(CalcProxDataUSB("1e12", "36V", 1, host), kNoResult);
    EXPECT_EQ(host.messages.back(), "6 Overflow");
}

}  // namespace
}  // namespace morvane
