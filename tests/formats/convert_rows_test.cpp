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
