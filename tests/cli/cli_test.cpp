// morvane-cli as a script sees it: its own glue around the conversions, one example each.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "formats/frame_word.h"
#include "formats/prox_data_text.h"
#include "support/run_process.h"

namespace morvane::test {
namespace {

ProcessResult cli(const std::vector<std::string>& args, const std::string& input = {}) {
    return runProcess(MORVANE_CLI, args, input);
}

// Through a shell, for the redirections a pipe cannot make.
ProcessResult shell(const std::string& command) {
    return runProcess("/bin/sh", {"-c", std::string(MORVANE_CLI) + " " + command});
}

TEST(CliConvert, AnswersLineForLineWithTheMessagesOnStandardError) {
    const auto r = cli({"convert", "--format", "26", "--facility", "123", "12345", "-", "1"},
                       "70000\r\nabc\n\n12345");
    EXPECT_EQ(r.out,
              "0000000475460163\n????????????????\n\n\n0000000475460163\n"
              "0000000475400002\n");
    EXPECT_EQ(r.err,
              "line 1: \"70000\": Hotstamp 70000 is too large. 65535 is max.\n"
              "line 2: \"abc\": Invalid Serial Number\n");
    EXPECT_EQ(r.exitCode, 1);

    const auto proxif =
        cli({"convert", "--format", "Proxif", "--facility", "123", "--version", "1e10", "12345"});
    EXPECT_EQ(proxif.out, "\n");
    EXPECT_EQ(proxif.err, "argument 1: \"12345\": 6 Overflow\n");
    EXPECT_EQ(proxif.exitCode, 1);
    const auto casi =
        cli({"convert", "--format", "cASI", "--facility", "123", "--version", "x", "12345"});
    EXPECT_EQ(casi.out, "0173000000030071\n");
    EXPECT_EQ(casi.exitCode, 0);
    EXPECT_EQ(cli({"convert", "--format", "26"}, "1\n").exitCode, 0);
}

// A range comes before the arguments and standard input is read only when "-" asks for it.
TEST(CliConvert, ConvertsARangeOfAtMostAMillionBesideTheOtherHotstamps) {
    const auto r =
        cli({"convert", "--format", "26", "--facility", "1", "--range", "65534-65535", "1", "-"},
            "2\n");
    EXPECT_EQ(r.out, "0000000600777774\n0000000600777777\n0000000600400002\n0000000600400004\n");
    EXPECT_EQ(cli({"convert", "--format", "26", "--range", "7-7"}, "2\n").out,
              "0000000400000016\n");
    const auto most = cli({"convert", "--format", "37", "--range", "0-999999"});
    EXPECT_EQ(std::count(most.out.begin(), most.out.end(), '\n'), 1000000);
    const auto facility = cli({"convert", "--format", "26", "--facility", "300", "--range", "4-4"});
    EXPECT_EQ(facility.err,
              "range hotstamp 1: \"4\": Facility Code 300 is too large. 255 is max.\n");
}

TEST(CliConvert, RefusesBadOptionsAsUsageErrors) {
    // No text where CLI11's own wording does not matter.
    const std::pair<std::vector<std::string>, const char*> cases[] = {
        {{"convert", "--format", "26", "--facility", "abc", "1"},
         "morvane-cli: --facility \"abc\": not a number\n"},
        {{"convert", "--format", "26", "--facility", "1e10", "1"},
         "morvane-cli: --facility \"1e10\": 6 Overflow\n"},
        {{"convert", "1"}, "--format is required\nRun with --help for more information.\n"},
        {{"convert", "--format", "26bit", "1"},
         "--format: 26bit not in {26,34,35,35V,36V,37,37V,Proxif,Casi}\n"
         "Run with --help for more information.\n"},
        {{"convert", "--format", "26", "--range", "65533-65536"},
         "morvane-cli: --range \"65533-65536\": 65536 is above the hotstamp limit of format 26, "
         "65535\n"},
        {{"convert", "--format", "37", "--range", "0-1000000"},
         "morvane-cli: --range \"0-1000000\": more than 1000000 hotstamps\n"},
        {{"convert", "--format", "26", "--range", "9-3"},
         "morvane-cli: --range \"9-3\": 9 is above 3\n"},
        {{"convert", "--format", "26", "--range", "1-x"},
         "morvane-cli: --range \"1-x\": not FROM-TO, two whole numbers\n"},
        {{"split", "--facilities", "/"},
         "morvane-cli: --facilities \"/\": no regular file that can be read\n"},
        {{"bogus"},
         "morvane-cli: unknown subcommand \"bogus\"; the subcommands are convert, split and "
         "formats\nRun with --help for more information.\n"},
        {{"convert", "--bogus"}, ""},
        {{}, ""},
    };
    for (const auto& [args, err] : cases) {
        const auto r = cli(args);
        EXPECT_EQ(r.exitCode, 2) << err;
        EXPECT_EQ(r.out, "");
        if (*err) {
            EXPECT_EQ(r.err, err);
        }
    }
}

std::string golden(const std::string& name) {
    std::ifstream file(std::string(MORVANE_GOLDEN_DIR) + "/" + name);
    return {std::istreambuf_iterator<char>(file), {}};
}

TEST(Cli, ListsTheFormatsAndExplainsItselfExactly) {
    const auto r = cli({"formats"});
    EXPECT_EQ(r.out, golden("formats_golden.txt"));
    EXPECT_EQ(r.exitCode, 0);
    std::string help;
    for (const char* args :
         {"--version", "--help", "convert --help", "split --help", "formats --help"}) {
        const auto r = shell(args);
        help += r.out;
        EXPECT_EQ(r.exitCode, 0);
    }
    EXPECT_EQ(help, golden("help_golden.txt"));
}

TEST(Cli, ReportsFailedReadsAndWritesButEndsQuietlyOnAClosedPipe) {
    for (const char* command :
         {"convert --format 26 1 > /dev/full", "split 0 > /dev/full", "formats > /dev/full"}) {
        const auto r = shell(command);
        EXPECT_EQ(r.err, "morvane-cli: cannot write the output: No space left on device\n")
            << command;
        EXPECT_EQ(r.exitCode, 1) << command;
    }
    for (const char* command : {"convert --format 26 < /", "split --json < /"}) {
        const auto r = shell(command);
        EXPECT_EQ(r.err, "morvane-cli: cannot read standard input: Is a directory\n") << command;
        EXPECT_EQ(r.exitCode, 1) << command;
    }
    const auto closed = runProcess(
        "/bin/sh", {"-c", "f=$(mktemp) && seq 100000 > $f && " + std::string(MORVANE_CLI) +
                              " convert --format 37 < $f | head -n 1; rm -f $f"});
    EXPECT_EQ(closed.out, "0000000000000002\n");
    EXPECT_EQ(closed.err, "");
}

TEST(Cli, RefusesAnOverlongLineWithoutHoldingIt) {
    const std::string huge(1 << 20, '7');
    const auto r = cli({"split", "--json"}, "7\n" + huge + "\n0000000600400002\n");
    const std::string refused = ": a line longer than 4096 bytes was refused\n";
    EXPECT_EQ(r.err, "line 2: \"" + std::string(40, '7') + "\"..." + refused);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(std::count(r.out.begin(), r.out.end(), '\n'), 3);
    EXPECT_NE(r.out.find("\"rejected\":true"), std::string::npos);
    const auto convert = cli({"convert", "--format", "26"}, std::string(5000, '1') + "\n1\n");
    EXPECT_EQ(convert.out, "\n0000000400000002\n");
    EXPECT_EQ(convert.err, "line 1: \"" + std::string(40, '1') + "\"..." + refused);
}

TEST(CliSplit, PrintsThePagesGridWithCasiLastAndMarked) {
    const auto r = cli({"split", "0000007540140346", "", "_\"\\"});
    EXPECT_EQ(r.out, golden("split_golden.txt"));
    EXPECT_EQ(r.exitCode, 1);
}

// The roles sit under the bits; the JSON keeps its members and adds the explanation last.
TEST(CliExplain, PutsEachFormatsRolesUnderTheBitsAndAddsThemToTheJson) {
    const auto text = cli({"split", "--explain", "0000000600400003"});
    const auto built =
        cli({"convert", "--explain", "--format", "37", "--facility", "0", "12345", "x"});
    EXPECT_EQ(text.out + built.out, golden("explain_golden.txt"));
    EXPECT_EQ(text.exitCode, 0);
    const auto plain = cli({"split", "--json", "0000000600400003", "x"});
    const auto json = cli({"split", "--json", "--explain", "0000000600400003", "x"});
    const std::size_t firstEnd = plain.out.find('\n');
    const std::string head =
        plain.out.substr(0, firstEnd - 1) +
        R"(,"explain":{"26":{"heading":"26 Bit","roles":"xxxxxxxxxxxxxxxxxxxxxSPFFFFFFFFIIIIIIIIIIIIIIIIP","passes":false,"verdict":"parity bit 0 is 1 but must make bits 12..0 odd","failing_bits":[0]},"34":)";
    EXPECT_EQ(json.out.substr(0, head.size()), head);
    EXPECT_EQ(
        json.out.substr(json.out.find('\n') + 1),
        plain.out.substr(firstEnd + 1, plain.out.size() - firstEnd - 3) + ",\"explain\":{}}\n");
}

// The documented JSON and CSV of a handful of cards, the card data escaped or quoted.
TEST(CliSplit, WritesTheDocumentedJsonAndCsv) {
    const std::vector<std::string> cards{"0000007540140346",         "475460163", "", "7",
                                         "\"\\\x01\x7f\xff\xc3\xa9", "1,\"2"};
    std::vector<std::string> json{"split", "--json"}, csv{"split", "--csv"};
    json.insert(json.end(), cards.begin(), cards.end());
    csv.insert(csv.end(), cards.begin(), cards.end());
    const auto converted = cli({"convert", "--csv", "--format", "casi", "--facility", "123",
                                "--version", "1,2", "12345", "1e99", "\"x\""});
    EXPECT_EQ(cli(json).out, golden("split_json_golden.txt"));
    EXPECT_EQ(cli(csv).out + converted.out, golden("csv_golden.txt"));
    EXPECT_EQ(converted.exitCode, 1);
}

// The facilities file puts the formats it names first; a bad line costs one line on standard error.
TEST(CliSplit, RanksTheFormatsOfTheSitesFacilityCodesFirst) {
    const std::string path = testing::TempDir() + "facilities";
    std::ofstream(path) << "# site\n123 37\n12x 26\n";
    const auto r = cli({"split", "--csv", "--facilities", path, "0000000754060163"});
    EXPECT_TRUE(r.out.ends_with(",37V 37\r\n")) << r.out;
    EXPECT_EQ(r.err, path +
                         ": 1 line ignored (line 3: \"12x 26\"): not a facility code and a "
                         "card format code\n");
}

// Random 26- to 37-bit credentials split the same with up to 15 leading zeros left off.
TEST(CliSplit, ReadsCardDataAsANumberWhateverItsLeadingZeros) {
    std::mt19937_64 random(22);
    std::string full;
    std::string shorter;
    for (int i = 0; i < 700; ++i) {
        const Layout& l = layouts()[static_cast<std::size_t>(i) % 7];
        const auto word = frameWord(l, random() % (l.hotstampLimit + 1),
                                    random() % (l.facilityLimit.value_or(0) + 1), 0);
        const std::string cardData(proxDataText(word).view());
        full += cardData + "\n";
        shorter += cardData.substr(std::min(cardData.find_first_not_of('0'),
                                            static_cast<std::size_t>(i % 16))) +
                   "\n";
    }
    const auto a = cli({"split", "--json"}, full);
    const auto b = cli({"split", "--json"}, shorter);
    std::istringstream linesA(a.out);
    std::istringstream linesB(b.out);
    std::size_t count = 0;
    for (std::string x, y; std::getline(linesA, x) && std::getline(linesB, y); ++count) {
        EXPECT_EQ(x.substr(x.find("\"bit_data\"")), y.substr(y.find("\"bit_data\""))) << y;
    }
    EXPECT_EQ(count, 700U);
    EXPECT_EQ(a.exitCode, 0);
    EXPECT_EQ(b.exitCode, 0);
}

TEST(CliSplit, RefusesCardDataLongerThanTheBoxKeepingOutputInStep) {
    const std::string shownWhole(40, '7');
    const auto r =
        cli({"split", "-"}, "0000000600400002\n00000006004000020\né\xc3\xa9\n" + shownWhole + "\n" +
                                shownWhole + "7\néééééééééééééééé\n");  // 16 characters fit
    EXPECT_NE(r.out.find("Card Data: \"" + shownWhole + "\"\n"), std::string::npos);
    EXPECT_NE(r.out.find("Card Data: \"" + shownWhole + "\"...\n"), std::string::npos);
    const std::string refused = ": card data refused: ";
    EXPECT_EQ(r.err, "line 2: \"00000006004000020\"" + refused +
                         "17 characters, at most 16 allowed\n" + "line 4: \"" + shownWhole + "\"" +
                         refused + "40 characters, at most 16 allowed\n" + "line 5: \"" +
                         shownWhole + "\"..." + refused + "41 characters, at most 16 allowed\n");
    EXPECT_NE(r.out.find("Rejected: 17 characters, more than the 16 the card data box holds\n"),
              std::string::npos);
    EXPECT_NE(r.out.find("Rejected: \"\\xc3\\xa9\" at character 1 is not an octal digit"),
              std::string::npos);
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(cli({"split", "0000000600400002", "0000000755060162"}).exitCode, 0);
}

}  // namespace
}  // namespace morvane::test
