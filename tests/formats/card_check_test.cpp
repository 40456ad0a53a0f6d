#include "formats/card_check.h"

#include <gtest/gtest.h>

namespace morvane {
namespace {

struct Checked {
    TypedCredential typed;
    std::string cardData;
    std::optional<int> readerBits;
    bool matches;
    std::string summary;
};

constexpr TypedCredential k26{"0000000475460163", "26", 123};  // 26 Bit 123/12345

TEST(CardCheck, SaysMatchesOrWhatDiffers) {
    const Checked cases[] = {
        // Leading zeros a lock leaves off do not make it another card.
        {k26, "475460163", {}, true, "matches"},
        {k26, "0000000676060163", {}, false, "facility code 124 on the card, 123 typed"},
        {k26, "0000000475460165", {}, false, "hotstamp 12346 on the card, 12345 typed"},
        {{"0002000050001411", "Proxif", 5}, "0003000050001411", {}, false,
         "version 3 on the card, 2 typed"},
        {k26, "0001000755060162", {}, false,
         "the card is not a 26 Bit credential (most likely 37 Bit V or 37 Bit)"},
        {k26, "0000000754060163", 37, false,
         "the card is not a 26 Bit credential (most likely 37 Bit V or 37 Bit)"},
        {k26, "7777777777777777", {}, false,
         "the card is not a 26 Bit credential (nor any known format)"},
        {k26, "12a", {}, false,
         "the card's data cannot be read: \"a\" at character 3 is not an octal digit"},
        {{"????????????????", "26", 123}, "0000000475460163", {}, false,
         "there is no typed prox data to compare"},
    };
    for (const Checked& c : cases) {
        const CardCheck check = checkCard(c.typed, c.cardData, {.readerBitCount = c.readerBits});
        EXPECT_EQ(check.matches, c.matches) << c.cardData;
        EXPECT_EQ(check.summary, c.summary) << c.cardData;
    }
}

TEST(CardCheck, NamesTheBitsThatDiffer) {
    const CardCheck facility = checkCard(k26, "0000000676060163", {});
    EXPECT_EQ(facility.differingBits, 0203400000u);
    EXPECT_EQ(differingBitsText(facility), "Bits 25, 19..17 differ from the card (marked ^)");
    EXPECT_EQ(differingBitsText(checkCard(k26, "0000000675460163", {})),
              "Bit 25 differs from the card (marked ^)");
    EXPECT_EQ(differingBitsText(checkCard(k26, "0000000475460163", {})), "");
}

}  // namespace
}  // namespace morvane
