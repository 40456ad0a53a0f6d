#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <vector>

#include "support/run_process.h"
#include "support/split_examples.h"

namespace morvane::test {
namespace {

using Json = nlohmann::ordered_json;

ProcessResult cli(const std::vector<std::string>& args, const std::string& input = {}) {
    return runProcess(MORVANE_CLI, args, input);
}

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> result;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) result.push_back(line);
    return result;
}

std::vector<Json> jsonLines(const std::string& text) {
    std::vector<Json> objects;
    for (const std::string& line : lines(text)) objects.push_back(Json::parse(line));
    return objects;
}

Page boxesOf(const Json& object) {
    Page boxes;
    for (const auto& [name, text] : object.at("boxes").items()) boxes[name] = text;
    return boxes;
}

void expectRejectedObject(const Json& o, const std::string& cardData) {
    EXPECT_EQ(o.at("card_data"), cardData);
    EXPECT_EQ(o.at("bit_data"), "");
    EXPECT_EQ(o.at("rejected"), true);
    EXPECT_EQ(boxesOf(o), emptyPage());
}

TEST(CliSplit, JsonGivesEveryMatchOfSixteenDigitCardDataInTheIssuesShape) {
    std::string input;
    for (const SplitExample& e : sixteenDigitExamples()) input += e.cardData + "\n";
    const auto r = cli({"split", "--json"}, input);
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(r.err, "");
    const auto objects = jsonLines(r.out);
    ASSERT_EQ(objects.size(), sixteenDigitExamples().size());
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const SplitExample& e = sixteenDigitExamples()[i];
        const Json& o = objects[i];
        std::vector<std::string> keys;
        for (const auto& [key, value] : o.items()) keys.push_back(key);
        EXPECT_EQ(keys, (std::vector<std::string>{"card_data", "bit_data", "rejected", "boxes"}));
        std::vector<std::string> boxNames;
        for (const auto& [key, value] : o.at("boxes").items()) boxNames.push_back(key);
        EXPECT_EQ(boxNames, resultBoxNames());

        EXPECT_EQ(o.at("card_data"), e.cardData);
        EXPECT_EQ(o.at("bit_data").get<std::string>().size(), 48U);
        EXPECT_EQ(o.at("rejected"), false);
        EXPECT_EQ(boxesOf(o), pageAfterSplit(e.matches)) << e.cardData;
    }
    EXPECT_EQ(objects[0].at("bit_data"), "000000000000000000000110000000100000000000000010");
}

TEST(CliSplit, JsonShowsShortRefusedAndRejectedCardData) {
    const auto r = cli(
        {"split", "--json", "000600400002", "4000601730060162", "7", "", "12345678", "600400002 "});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, "");
    const auto o = jsonLines(r.out);
    ASSERT_EQ(o.size(), 6U);
    EXPECT_EQ(boxesOf(o[0]), pageAfterSplit("26=2,0"));
    EXPECT_EQ(boxesOf(o[1]), pageAfterSplit("35=12345,123"));
    EXPECT_EQ(o[2].at("bit_data"), "111");
    EXPECT_EQ(boxesOf(o[2]), pageAfterSplit(""));
    EXPECT_EQ(o[3].at("rejected"), false);
    EXPECT_EQ(boxesOf(o[3]), pageAfterSplit(""));
    expectRejectedObject(o[4], "12345678");
    expectRejectedObject(o[5], "600400002 ");
}

TEST(CliSplit, RefusesOverLongCardDataButKeepsOutputInStepWithInput) {
    const std::string huge(200000, '7');
    const auto r = cli({"split", "--json"},
                       "0000000600400002\n00000006004000020\n" + huge + "\n0000000600400002\n");
    EXPECT_EQ(r.exitCode, 1);
    const auto o = jsonLines(r.out);
    ASSERT_EQ(o.size(), 4U);
    EXPECT_EQ(o[0].at("rejected"), false);
    expectRejectedObject(o[1], "00000006004000020");
    expectRejectedObject(o[2], huge);
    EXPECT_EQ(o[3].at("rejected"), false);
    const auto errors = lines(r.err);
    ASSERT_EQ(errors.size(), 2U);
    EXPECT_NE(errors[0].find("card data 2"), std::string::npos) << errors[0];
    EXPECT_NE(errors[0].find("17 characters"), std::string::npos) << errors[0];
    EXPECT_NE(errors[1].find("200000 characters"), std::string::npos) << errors[1];

    // Sixteen characters fit the card data box, however many bytes they take.
    const auto fits = cli({"split", "--json", "\xc3\xa9" + std::string(15, '0')});
    EXPECT_EQ(fits.err, "");
    EXPECT_EQ(jsonLines(fits.out).at(0).at("rejected"), true);
}

TEST(CliSplit, RejectsControlAndNonAsciiCharactersAndStillWritesValidJson) {
    const std::string input = std::string("0000000600400002\r\n") +  // one carriage return goes
                              "0000000600400002\r\r\n" + "\x01\x1b[2J\n" + "\xff\xfe\n" +
                              "\xc3\xa9\n" +
                              std::string(
                                  "00006\0"
                                  "0",
                                  7) +
                              "\n\t7\n";
    const auto r = cli({"split", "--json"}, input);
    EXPECT_EQ(r.exitCode, 1);
    const auto o = jsonLines(r.out);
    ASSERT_EQ(o.size(), 7U);
    EXPECT_EQ(o[0].at("rejected"), false);
    EXPECT_EQ(o[0].at("card_data"), "0000000600400002");
    expectRejectedObject(o[1], "0000000600400002\r");
    expectRejectedObject(o[2], "\x01\x1b[2J");
    expectRejectedObject(o[3], "\xef\xbf\xbd\xef\xbf\xbd");  // not UTF-8: replaced
    expectRejectedObject(o[4], "\xc3\xa9");
    expectRejectedObject(o[5], std::string("00006\0"
                                           "0",
                                           7));
    expectRejectedObject(o[6], "\t7");
    for (char c : r.out) EXPECT_LT(static_cast<unsigned char>(c), 0x80);
}

TEST(CliSplit, ExitsZeroOnlyWhenEveryCardDataMatchesAFormat) {
    EXPECT_EQ(cli({"split", "0000000600400002", "0000000755060162"}).exitCode, 0);
    EXPECT_EQ(cli({"split", "0000000600400002", "7"}).exitCode, 1);
    EXPECT_EQ(cli({"split", "0000000600400002", "8"}).exitCode, 1);
    EXPECT_EQ(cli({"split", "--bogus"}).exitCode, 2);
    EXPECT_EQ(cli({"split", "--json", "--json=maybe"}).exitCode, 2);
}

TEST(CliSplit, ReadsStandardInputWhereADashStands) {
    const auto r = cli({"split", "--json", "7", "-", "0000000600400002"}, "0173000000030071\n");
    const auto o = jsonLines(r.out);
    ASSERT_EQ(o.size(), 3U);
    EXPECT_EQ(o[0].at("card_data"), "7");
    EXPECT_EQ(o[1].at("card_data"), "0173000000030071");
    EXPECT_EQ(o[2].at("card_data"), "0000000600400002");
}

TEST(CliSplit, PlainOutputIsThePagesGridWithCasiLastAndMarked) {
    const auto r = cli({"split", "0000000475460163", "12345678"});
    EXPECT_EQ(r.exitCode, 1);
    const auto l = lines(r.out);
    ASSERT_GE(l.size(), 17U);
    EXPECT_EQ(l[0], "Card Data: \"0000000475460163\"");
    EXPECT_EQ(l[1], "Bit Data:  000000000000000000000100111101100110000001110011");
    const char* headings[] = {"26 Bit",   "34 Bit", "35 Bit", "35 Bit V", "36 Bit V",
                              "37 Bit V", "37 Bit", "Proxif", "Casi"};
    for (std::size_t i = 0; i < std::size(headings); ++i) {
        EXPECT_EQ(l[3 + i].rfind(headings[i], 0), 0U) << l[3 + i];
    }
    const auto cells = [](const std::string& line) {
        std::vector<std::string> words;
        std::istringstream in(line);
        for (std::string w; in >> w;) words.push_back(w);
        return words;
    };
    EXPECT_EQ(cells(l[3]), (std::vector<std::string>{"26", "Bit", "12345", "123"}));
    EXPECT_EQ(cells(l[4]), (std::vector<std::string>{"34", "Bit", "Not", "34", "Bit"}));
    EXPECT_EQ(cells(l[9]), (std::vector<std::string>{"37", "Bit", "208953", "79", "41627705"}));
    EXPECT_EQ(l[11].find("not shown in the window") != std::string::npos, true) << l[11];
    for (int i = 3; i < 11; ++i) EXPECT_EQ(l[i].find("not shown"), std::string::npos);
    EXPECT_EQ(l[12], "");
    EXPECT_EQ(l[13], "Card Data: \"12345678\"");
    EXPECT_EQ(l[14], "Bit Data:");
    EXPECT_NE(l[15].find("\"8\" at character 8"), std::string::npos) << l[15];
}

TEST(CliSplit, PlainOutputShowsNoRawControlCharacters) {
    const auto r = cli({"split"}, "\x1b]0;title\x07\n" + std::string(40, '1') + "\n");
    EXPECT_EQ(r.out.find_first_of("\x1b\x07"), std::string::npos);
    EXPECT_NE(r.out.find("\"\\x1b]0;title\\x07\""), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("Rejected: 40 characters"), std::string::npos) << r.out;
}

}  // namespace
}  // namespace morvane::test
