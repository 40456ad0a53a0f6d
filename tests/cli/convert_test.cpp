#include <gtest/gtest.h>

#include <string>

#include "support/run_process.h"

namespace morvane::test {
namespace {

ProcessResult cli(const std::vector<std::string>& args, const std::string& input = {}) {
    return runProcess(MORVANE_CLI, args, input);
}

TEST(CliConvert, PrintsTheWorkedExamples) {
    struct Case {
        std::vector<std::string> args;
        std::string out;
    };
    const Case cases[] = {
        {{"--format", "26", "--facility", "1", "1"}, "0000000600400002\n"},
        {{"--format", "26", "--facility", "123", "12345"}, "0000000475460163\n"},
        {{"--format", "34", "--facility", "123", "12345"}, "0000201730060163\n"},
        {{"--format", "35", "--facility", "123", "12345"}, "0000601730060162\n"},
        {{"--format", "35V", "--facility", "123", "12345"}, "0000401730060163\n"},
        {{"--format", "36V", "--facility", "123", "12345"}, "0000007540140346\n"},
        {{"--format", "37", "--facility", "123", "12345", "143417"},
         "0000000754060163\n0001000755060162\n"},
        {{"--format", "37V", "--facility", "123", "143417"}, "0001000755060162\n"},
        {{"--format", "37", "12345", "600000"}, "0000000000060163\n0001000004447600\n"},
        {{"--format", "Proxif", "--facility", "123", "--version", "5", "12345"},
         "0005001730030071\n"},
        {{"--format", "Casi", "--facility", "123", "12345"}, "0173000000030071\n"},
        {{"--format", "Casi", "--facility", "255", "4294967295"}, "0377037777777777\n"},
    };
    for (const Case& c : cases) {
        std::vector<std::string> args{"convert"};
        args.insert(args.end(), c.args.begin(), c.args.end());
        const auto r = cli(args);
        EXPECT_EQ(r.out, c.out) << args[2];
        EXPECT_EQ(r.err, "");
        EXPECT_EQ(r.exitCode, 0);
    }
}

TEST(CliConvert, ReportsTheWindowsMessagesOnStandardError) {
    const auto r = cli({"convert", "--format", "26", "--facility", "123", "70000", "abc", "1"});
    EXPECT_EQ(r.out, "????????????????\n\n0000000475400002\n");
    EXPECT_EQ(r.err, "Hotstamp 70000 is too large. 65535 is max.\nInvalid Serial Number\n");
    EXPECT_EQ(r.exitCode, 1);

    const auto proxif = cli({"convert", "--format", "Proxif", "--version", "8", "1"});
    EXPECT_EQ(proxif.out, "????????????????\n");
    EXPECT_EQ(proxif.err, "Version 8 is too large. 7 is max.\n");

    const auto overflow = cli({"convert", "--format", "Proxif", "--version", "1e10", "1"});
    EXPECT_EQ(overflow.out, "\n");
    EXPECT_EQ(overflow.err, "6 Overflow\n");
    EXPECT_EQ(overflow.exitCode, 1);
}

TEST(CliConvert, AMissingFormatIsTheEmptyCode) {
    const auto r = cli({"convert", "12345"});
    EXPECT_EQ(r.out, "\n");
    EXPECT_EQ(r.err, "Undefined card format / facility code\n");
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(cli({"convert", "--format", "36", "1"}).out, "????????????????\n");
}

TEST(CliConvert, ReadsOneHotstampPerLineAndKeepsLinesInStep) {
    const auto r = cli({"convert", "--format", "26", "--facility", "123"},
                       "12345\r\n\n70000\n1 2\n1");
    EXPECT_EQ(r.out, "0000000475460163\n\n????????????????\n\n0000000475400002\n");
    EXPECT_EQ(r.exitCode, 1);
    const auto dash = cli({"convert", "--format", "26", "7", "-", "8"}, "9\n");
    EXPECT_EQ(dash.out, "0000000400000016\n0000000400000023\n0000000400000020\n");
    EXPECT_EQ(dash.exitCode, 0);
}

TEST(CliConvert, TakesAnyBytesWithoutHarm) {
    std::string noise;
    for (int i = 0; i < 256; ++i) noise.push_back(static_cast<char>(i));
    noise += "\n" + std::string(200000, '9') + "\n\xff\xfe\n";
    const auto r = cli({"convert", "--format", "37"}, noise);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 4);
}

TEST(CliConvert, RefusesABadFacilityOptionAsAUsageError) {
    for (const char* facility : {"abc", "1e10", ""}) {
        const auto r = cli({"convert", "--format", "26", "--facility", facility, "1"});
        EXPECT_EQ(r.exitCode, 2) << facility;
        EXPECT_EQ(r.out, "");
        EXPECT_NE(r.err, "");
    }
    EXPECT_EQ(cli({"convert", "--bogus"}).exitCode, 2);
    EXPECT_EQ(cli({}).exitCode, 2);
}

TEST(Cli, NamesItsVersionAndListsTheFormats) {
    const auto v = cli({"--version"});
    EXPECT_EQ(v.out, "2.4.0\n");
    EXPECT_EQ(v.exitCode, 0);
    const auto f = cli({"formats"});
    EXPECT_EQ(f.exitCode, 0);
    for (const char* text : {"Proxif", "Casi", "34359738367", "PFFFFFFFFIIIIIIIIIIIIIIIIP",
                             "P0FFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIIP"}) {
        EXPECT_NE(f.out.find(text), std::string::npos) << text;
    }
}

}  // namespace
}  // namespace morvane::test
