#include <gtest/gtest.h>

#include <random>
#include <string>

#include "formats/octal_fields.h"
#include "formats/parity_framed.h"
#include "formats/vorta.h"
#include "support/recording_host.h"

namespace morvane {
namespace {

using test::RecordingHost;

TEST(Encoders, GiveTheirDigitsWithTheirOwnLeadingZeros) {
    RecordingHost h;
    EXPECT_EQ(BitFormat26(0, 0, h), "400000001");  // both counts 0: bit 0 set, bit 25 not
    EXPECT_EQ(BitFormat26(1, 1, h), "600400002");
    EXPECT_EQ(BitFormat35(12345, 123, h), "601730060162");
    EXPECT_EQ(BitFormat37NFC(34359738367.0, h), "777777777777");  // bit 36 stays 0
    EXPECT_EQ(BitFormat35V(12345, 123, h), "401730060163");
    EXPECT_EQ(BitFormat36V(12345, 123, h), "007540140346");
    EXPECT_EQ(BitFormat37V(12345, 123, h), "0000754060163");
    EXPECT_EQ(BitFormatProxif(12345, 123, 5, h), "0005001730030071");
    EXPECT_EQ(BitFormatCasi(4294967295.0, 255, h), "0377037777777777");
    EXPECT_TRUE(h.messages.empty());
}

TEST(Encoders, FailWithTheFailureValueAndSetOnlyTheOffendingBox) {
    RecordingHost h;
    EXPECT_FALSE(BitFormat26(65536, 0, h));
    EXPECT_FALSE(BitFormat37(524288, 0, h));
    EXPECT_FALSE(BitFormat37NFC(34359738368.0, h));
    EXPECT_FALSE(BitFormat36V(2097152, 0, h));
    EXPECT_FALSE(BitFormat26(1, 300, h));
    EXPECT_FALSE(BitFormatCasi(4294967296.0, 0, h));
    EXPECT_EQ(h.messages, (std::vector<std::string>{
                              "Hotstamp 65536 is too large. 65535 is max.",
                              "Hotstamp 524288 is too large. 524287 is max.",
                              "Hotstamp 34359738368 is too large. 34359738367 is max.",
                              "Hotstamp 2097152 is too large. 2097151 is max.",
                              "Facility Code 300 is too large. 255 is max.",
                              "Hotstamp 4294967296 is too large. 4294967295 is max.",
                          }));
    EXPECT_EQ(h.hotstampWrites, (std::vector<std::string>{"65535", "524287", "34359738367",
                                                          "2097151", "4294967295"}));
    EXPECT_EQ(h.facilityWrites, std::vector<std::string>{"255"});
}

// The reader path's twins agree digit for digit with the window's set and never touch a box.
TEST(ReaderEncoders, MatchTheWindowSetAndWriteNoBox) {
    std::mt19937_64 rng(7);
    RecordingHost window;
    RecordingHost reader;
    for (int i = 0; i < 2000; ++i) {
        const auto h = static_cast<double>(rng() % 600000);
        const auto f = static_cast<std::int32_t>(rng() % 5000);
        EXPECT_EQ(reader::BitFormat26(h, f, reader), BitFormat26(h, f, window));
        EXPECT_EQ(reader::BitFormat34(h, f, reader), BitFormat34(h, f, window));
        EXPECT_EQ(reader::BitFormat37(h, f, reader), BitFormat37(h, f, window));
        if (f > 4095) continue;  // beyond the Vorta limits only the window set refuses
        EXPECT_EQ(reader::BitFormat35V(h, f, reader), BitFormat35V(h, f, window));
        EXPECT_EQ(reader::BitFormat36V(h, f, reader), BitFormat36V(h, f, window));
    }
    EXPECT_EQ(reader.messages, window.messages);
    EXPECT_TRUE(reader.wroteNoBox());
    EXPECT_FALSE(window.wroteNoBox());
}

TEST(ReaderEncoders, Vorta36CountsTheCutFacilityBitInItsLeadingGroup) {
    RecordingHost h;
    // Facility bit 12 lands on the parity place: counted, then overwritten by the parity.
    const auto withBit12 = reader::BitFormat36V(12345, 4096 + 123, h);
    const auto without = reader::BitFormat36V(12345, 123, h);
    ASSERT_TRUE(withBit12 && without);
    EXPECT_NE(*withBit12, *without);
    EXPECT_EQ(withBit12->substr(1), without->substr(1));
    EXPECT_TRUE(h.messages.empty());
}

}  // namespace
}  // namespace morvane
