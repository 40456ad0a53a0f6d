#include "readers/reader_config.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "sim_fixture.h"

namespace morvane::test {
namespace {

using enum RecordId;

TEST(TrimLine, EachKind) {
    struct Case {
        Trim trim;
        const char* line;
        const char* trimmed;
    };
    for (const Case& c : {
             Case{Trim::BothEnds, "\"26\"", "26"},
             Case{Trim::BothEnds, "(7)", "7"},
             Case{Trim::BothEnds, "5", ""},
             Case{Trim::BothEnds, "", ""},
             Case{Trim::IfLonger, "5", "5"},
             Case{Trim::IfLonger, "\"5\"", "5"},
             Case{Trim::IfLonger, "", ""},
             Case{Trim::None, " 5 ", " 5 "},
             Case{Trim::None, "\"5\"", "\"5\""},
         }) {
        EXPECT_EQ(trimLine(c.line, c.trim), c.trimmed) << c.line;
    }
}

TEST(ConvertLine, EachKindRoundsAndRangeChecks) {
    const std::optional<std::int16_t> kept;  // the field keeps its earlier value
    struct Case {
        Conversion kind;
        const char* text;
        std::optional<std::int16_t> value;
    };
    for (const Case& c : {
             Case{Conversion::Integer, " 12 ", 12},
             Case{Conversion::Integer, "2.5", 2},
             Case{Conversion::Integer, "3.5", 4},
             Case{Conversion::Integer, "-2.5", -2},
             Case{Conversion::Integer, "1E3", 1000},
             Case{Conversion::Integer, "32767", 32767},
             Case{Conversion::Integer, "32768", kept},
             Case{Conversion::Integer, "-32768.4", -32768},
             Case{Conversion::Integer, "-32768.6", kept},
             Case{Conversion::Integer, "12abc", kept},
             Case{Conversion::Integer, "", kept},
             Case{Conversion::Integer, "True", kept},
             Case{Conversion::LeadingNumber, "12abc", 12},
             Case{Conversion::LeadingNumber, " 1 2 3", 123},
             Case{Conversion::LeadingNumber, "abc", 0},
             Case{Conversion::LeadingNumber, "-x", 0},
             Case{Conversion::LeadingNumber, "", 0},
             Case{Conversion::LeadingNumber, "- 4.5x", -4},
             Case{Conversion::LeadingNumber, "5.5", 6},
             Case{Conversion::LeadingNumber, "+7", 7},
             Case{Conversion::LeadingNumber, "1e2x", 100},
             Case{Conversion::LeadingNumber, "1e+2x", 100},
             Case{Conversion::LeadingNumber, "1e-2x", 0},
             Case{Conversion::LeadingNumber, "3e", 3},
             Case{Conversion::LeadingNumber, "99999", kept},
             Case{Conversion::LeadingNumber, "1e999", kept},
             Case{Conversion::RoundedDown, "2.9", 2},
             Case{Conversion::RoundedDown, "-2.1", -3},
             Case{Conversion::RoundedDown, "32767.9", 32767},
             Case{Conversion::RoundedDown, "-32768.5", kept},
             Case{Conversion::RoundedDown, "x", kept},
             Case{Conversion::None, "5", kept},
         }) {
        EXPECT_EQ(convertLine(c.text, c.kind), c.value)
            << static_cast<int>(c.kind) << " " << c.text;
    }
}

std::vector<std::string> numberedLines() {
    std::istringstream in(numberedConfig());
    return *readConfigLines(in, 47);
}

ReaderRecords load(const std::vector<std::string>& lines, ReaderRecords records = {}) {
    std::string text;
    for (const std::string& line : lines) text += line + "\r\n";
    std::istringstream in(text);
    EXPECT_TRUE(loadReaderConfig(in, records));
    return records;
}

TEST(LoadReaderConfig, LinesTakeTheirOwnTrimmingAndConversion) {
    auto lines = numberedLines();
    lines[0] = "(7)";        // both ends, three characters
    lines[28] = "5";         // if longer, one character: taken as it stands
    lines[8] = "\"9\"";      // no trimming: quotes make it no number
    lines[31] = "\x01\xff";  // line 32 is never read as a value
    const ReaderRecords r = load(lines);
    EXPECT_EQ(r[IDDispParms][1], 7);
    EXPECT_EQ(r[LEDCtrl][1], 5);
    EXPECT_EQ(r[Flags][1], 0);
    lines[31] = "anything else";
    EXPECT_EQ(load(lines), r);
}

TEST(LoadReaderConfig, Line20ReplacesLine18UnlessItIsNoNumber) {
    auto lines = numberedLines();
    EXPECT_EQ(load(lines)[TimeParms][3], 120);
    lines[19] = "\"later\"";
    EXPECT_EQ(load(lines)[TimeParms][3], 118);
}

TEST(LoadReaderConfig, Flags2Field4TellsWhetherField3IsOne) {
    auto lines = numberedLines();
    for (const auto& [field3, field4] : {std::pair{"\"1\"", 1}, std::pair{"\"2\"", 0},
                                         std::pair{"\"0\"", 0}, std::pair{"\"1.4\"", 1}}) {
        lines[27] = field3;
        EXPECT_EQ(load(lines)[Flags2][4], field4) << field3;
    }
}

TEST(LoadReaderConfig, AFailedLineKeepsTheValueOfTheLastLoad) {
    const ReaderRecords first = load(numberedLines());
    auto lines = numberedLines();
    lines[4] = "\"x\"";   // IDBitCnts 1, integer
    lines[42] = "\"x\"";  // IDDispParms3 2, leading number: no number is 0
    const ReaderRecords second = load(lines, first);
    EXPECT_EQ(second[IDBitCnts][1], 105);
    EXPECT_EQ(second[IDDispParms3][2], 0);
}

TEST(LoadReaderConfig, AnyLineEndWorksAndOnly47LinesCount) {
    ReaderRecords lf, cr, mixed;
    std::istringstream a(numberedConfig() + "\"x\"\nmore\n");
    std::string crText = numberedConfig();
    std::replace(crText.begin(), crText.end(), '\n', '\r');
    std::istringstream b(crText);
    std::string mixedText = numberedConfig();
    mixedText.replace(mixedText.find('\n'), 1, "\r\n");
    mixedText.pop_back();  // the last line ends with the file
    std::istringstream c(mixedText);
    ASSERT_TRUE(loadReaderConfig(a, lf));
    ASSERT_TRUE(loadReaderConfig(b, cr));
    ASSERT_TRUE(loadReaderConfig(c, mixed));
    EXPECT_EQ(lf, load(numberedLines()));
    EXPECT_EQ(cr, lf);
    EXPECT_EQ(mixed, lf);
}

TEST(LoadReaderConfig, ShortOrUnreadableFilesChangeNothing) {
    const ReaderRecords before = load(numberedLines());
    std::string text = numberedConfig();
    text.pop_back();
    text.erase(text.rfind('\n') + 1);  // 46 lines
    const std::string longLine(kMaxConfigLineLength + 1, '7');
    for (const std::string& bad : {text, std::string(), longLine + "\n" + numberedConfig()}) {
        ReaderRecords records = before;
        std::istringstream in(bad);
        EXPECT_FALSE(loadReaderConfig(in, records));
        EXPECT_EQ(records, before);
    }
    ReaderRecords records = before;
    EXPECT_TRUE(loadReaderConfigFile(MORVANE_SHIPPED_DEFAULT_HWG, records));  // complete
    records = before;
    EXPECT_FALSE(loadReaderConfigFile("/nonexistent/Default.hwg", records));
    EXPECT_FALSE(loadReaderConfigFile(std::filesystem::temp_directory_path(), records));
    // A named pipe nobody writes to would block an ordinary open for ever.
    const auto fifo = std::filesystem::temp_directory_path() / ("hwg-fifo-" + std::to_string(getpid()));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(loadReaderConfigFile(fifo, records));
    std::filesystem::remove(fifo);
    EXPECT_EQ(records, before);
}

}  // namespace
}  // namespace morvane::test
