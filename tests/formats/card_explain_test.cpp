#include "formats/card_explain.h"

#include <gtest/gtest.h>

#include <string>

#include "formats/split_data.h"

namespace morvane {
namespace {

struct Verdict {
    SplitFormatId format;
    std::string cardData, verdict;  // a passing verdict names the hotstamp first
};

CardWord wordOf(std::string_view cardData) { return parseCardData(cardData).value(); }

// Per format a credential, then one card per kind of rule the format has, breaking only it.
TEST(CardExplain, VerdictNamesTheDecodedValuesOrTheFirstBrokenRule) {
    using enum SplitFormatId;
    const Verdict cases[] = {
        {F26, "0000000600400002", "Hotstamp No.: 1, Facility Code: 1"},
        {F26, "0000000200400002", "sentinel bit 26 is 0"},
        {F26, "0000000600400003", "parity bit 0 is 1 but must make bits 12..0 odd"},
        {F26, "0000010600400002", "bit 30 lies above the 26-bit frame and is 1"},
        {F26, "0000030600400002", "bits 31..30 lie above the 26-bit frame and are 1"},
        {F26, "", "there is no card data"},
        {F34, "0000201730060163", "Hotstamp No.: 12345, Facility Code: 123"},
        {F34, "0000301730060163", "parity bit 33 is 1 but must make bits 33..17 even"},
        {F34, "4000201730060163", "bit 47 lies above the 34-bit frame and is 1"},
        {F34, "0000001730060163", "sentinel bit 34 is 0"},
        // Nothing above the 35-bit sentinel is looked at.
        {F35, "4000601730060162", "Hotstamp No.: 12345, Facility Code: 123"},
        {F35, "0000701730060162",
         "parity bit 33 is 1 but must make bits 33..31, 29..28, 26..25, 23..22, 20..19, 17..16, "
         "14..13, 11..10, 8..7, 5..4, 2..1 even"},
        {F35, "0000401730060162", "parity bit 34 is 0 but must make bits 34..0 odd"},
        {F35, "0000201730060162", "sentinel bit 35 is 0"},
        // The fixed 0 at bit 33 is read into the facility code, never checked.
        {F35V, "0000701730060163", "Hotstamp No.: 12345, Facility Code: 4219"},
        {F35V, "0000401730060162", "parity bit 0 is 0 but must make bits 17..0 odd"},
        {F35V, "0001401730060163", "bit 36 lies above the 35-bit frame and is 1"},
        {F35V, "0000001730060163", "sentinel bit 35 is 0"},
        {F36V, "0000007540140346", "Hotstamp No.: 12345, Facility Code: 123"},
        {F36V, "0000007540140345", "fixed bit 1 must be 1"},
        {F36V, "0000407540140346", "parity bit 35 is 1 but must make bits 35..19 even"},
        {F36V, "0001007540140346", "bit 36 lies above the 36-bit frame and is 1"},
        {F37V, "0000000754060163", "Hotstamp No.: 12345, Facility Code: 123"},
        {F37V, "0000000755060162", "parity bit 36 is 0 but must make bits 36..18 even"},
        {F37V, "0002000754060163", "bit 37 lies above the 37-bit frame and is 1"},
        {F37, "0000000754060163", "Hotstamp No.: 12345, Facility Code: 123, No Facility: 64499769"},
        {F37, "0000000754060162", "parity bit 0 is 0 but must make bits 18..0 odd"},
        {F37, "4000000754060163", "bit 47 lies above the 37-bit frame and is 1"},
        {Proxif, "0005001730030071", "Hotstamp No.: 12345, Facility Code: 123, Version: 5"},
        {Proxif, "0005001734030071", "fixed bit 20 must be 0"},
        {Proxif, "0015001730030071", "bit 39 lies above the 39-bit frame and is 1"},
        {Casi, "0173000000030071", "Hotstamp No.: 12345, Facility Code: 123"},
        {Casi, "0173200000030071", "fixed bit 34 must be 0"},
        {Casi, "0173600000030071", "fixed bits 35..34 must be 0"},
        {Casi, "0573000000030071", "bit 44 lies above the 44-bit frame and is 1"},
    };
    for (const Verdict& c : cases) {
        const CardExplanation e = explainColumn(c.format, wordOf(c.cardData));
        EXPECT_EQ(e.passes, c.verdict.starts_with("Hotstamp")) << c.cardData;
        EXPECT_EQ(e.verdict, c.verdict) << c.cardData;
    }
}

}  // namespace
}  // namespace morvane
