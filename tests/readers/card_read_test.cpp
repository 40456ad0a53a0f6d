#include "readers/prox_filter.h"
#include "readers/usb_card_read.h"
#include "sim_fixture.h"

namespace morvane::test {
namespace {

CardBuffer bufferOf(std::uint64_t value) {
    CardBuffer b{};
    for (std::size_t i = 0; i < b.size(); ++i) b[i] = static_cast<std::uint8_t>(value >> (8 * i));
    return b;
}

TEST(CardHexText, MostSignificantByteFirstWithoutLeadingZeroPairs) {
    EXPECT_EQ(cardHexText(bufferOf(0xF66073)), "F66073");
    EXPECT_EQ(cardHexText(bufferOf(0x070B0C0D)), "070B0C0D");
    EXPECT_EQ(cardHexText(bufferOf(0)), "");
    EXPECT_EQ(cardHexText(bufferOf(0xFF000000000000A0)), "FF000000000000A0");
    EXPECT_EQ(cardHexText(bufferOf(0x100)), "0100");
}

TEST(FilterByMask, SplitsTheCardBitsUnderTheMask) {
    std::string facility = "untouched", hotstamp = "untouched";
    ASSERT_TRUE(FilterByMask("PFFFFFFFFIIIIIIIIIIIIIIIIP", "F66073", facility, hotstamp));
    EXPECT_EQ(FieldValue(facility), "123");
    EXPECT_EQ(FieldValue(hotstamp), "12345");
    // Bits beyond the mask are not the card's; missing ones read as 0.
    ASSERT_TRUE(FilterByMask("FFII", "7D", facility, hotstamp));
    EXPECT_EQ(facility + "/" + hotstamp, "11/01");
    ASSERT_TRUE(FilterByMask("FFFFII", "f", facility, hotstamp));
    EXPECT_EQ(facility + "/" + hotstamp, "0011/11");
    ASSERT_TRUE(FilterByMask("", "F66073", facility, hotstamp));
    EXPECT_EQ(FieldValue(facility), "0");

    facility = hotstamp = "untouched";
    EXPECT_FALSE(FilterByMask("PFFP", "F6G0", facility, hotstamp));
    EXPECT_EQ(facility + hotstamp, "untoucheduntouched");
}

// A card's bits are its prox data word without the sentinel bit above the frame.
TEST_F(SimTest, ACardReadsBackAsItsProxDataOrTheCalculationsOwnAnswer) {
    using Boxes = std::vector<RecordingMessages::Box>;
    const Boxes none, undefined{{"Undefined card format / facility code", ""}};
    const std::tuple<const char*, const char*, Boxes> cases[] = {
        {"card 26 F66073", "0000000475460163", none},
        {"card 34 F606073", "0000201730060163", none},
        {"card 35 F606073", "0000401730060163", none},
        {"card 36 3D80C0E6", "0000007540140346", none},
        {"card 37 7B06073", "0000000754060163", none},
        {"card 37 1007B46072", "0001000755060162", none},
        {"card 42 F600006072", "????????????????", none},  // Casi 123/12345
        {"card 32 12345678", "", undefined},
        {"card 100 FFFFFFFFFFFFFFFF", "", undefined},
        {"card none", "", {kNoData}},
        {"card -26 F66073", "", undefined},       // only 0 means no card
        {"card 26 0", "0000000400000001", none},  // all-zero bits: facility 0, hotstamp 0
        // A library that writes 12 bytes into the 8 it was given: only 8 are read.
        {"card 26 AAAAAAAA0000000000F66073", "0000000475460163", none}};
    for (const auto& [card, result, shown] : cases) {
        scenario(std::string("reader 3\n") + card + "\n");
        RecordingMessages messages;
        EXPECT_EQ(ReadUSBCard(emulator().get(), messages), result) << card;
        EXPECT_EQ(messages.shown, shown) << card;
    }
}

}  // namespace
}  // namespace morvane::test
