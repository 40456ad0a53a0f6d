// A batch's hotstamps as typed or pasted, and each row's answer with its own messages.
#include <gtest/gtest.h>

#include "formats/convert_rows.h"
#include "support/recording_host.h"

namespace morvane {
namespace {

TEST(ConvertRows, PastedLinesDropBlanksAndAHeadingWithoutDigits) {
    EXPECT_EQ(hotstampLines("Hotstamp\r\n 12 \n\n\t13\r\nx9\n"),
              (std::vector<std::string>{"12", "13", "x9"}));
    EXPECT_EQ(hotstampLines("0\nhotstamp"), (std::vector<std::string>{"0", "hotstamp"}));
    EXPECT_TRUE(hotstampLines(" \n").empty());
}

TEST(ConvertRows, ARangeIsTwoWholeNumbersForwardsAndAMillionAtMost) {
    struct Case {
        const char* from;
        const char* to;
        bool ok;
    };
    for (const Case& c : {Case{"5", "5", true}, Case{" 1", "1000000 ", true},
                          Case{"0", "1000000", false}, Case{"6", "5", false},
                          Case{"1.5", "3", false}, Case{"", "3", false},
                          Case{"1", "1234567890123456", false}}) {
        const HotstampRange range = readHotstampRange(c.from, c.to);
        EXPECT_EQ(range.error.empty(), c.ok) << c.from << ".." << c.to << ": " << range.error;
    }
    EXPECT_EQ(readHotstampRange("7", "9").to, 9U);
}

TEST(ConvertRows, EachRowKeepsItsOwnAnswerAndMessages) {
    test::RecordingHost host;
    RowConverter convert("26", 12, 0);
    const ConvertedRow tooLarge = convert("70000");
    EXPECT_EQ(tooLarge.messages, "Hotstamp 70000 is too large. 65535 is max.");
    EXPECT_EQ(tooLarge.proxData.view(), "????????????????");
    const ConvertedRow plain = convert("1");
    EXPECT_EQ(plain.proxData.view(), CalcProxData("1", "26", 12, host).view());
    EXPECT_EQ(plain.messages, "");
    EXPECT_EQ(RowConverter("Proxif", 70000, 1)("1").messages,
              "Facility Code 70000 is too large. 32767 is max.");
}

}  // namespace
}  // namespace morvane
