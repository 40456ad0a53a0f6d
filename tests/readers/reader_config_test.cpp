#include "readers/reader_config.h"

#include <sys/stat.h>
#include <unistd.h>

#include <sstream>

#include "sim_fixture.h"

namespace morvane::test {
namespace {

using enum RecordId;

TEST(ConvertLine, EachKindRoundsAndRangeChecks) {
    using enum Conversion;
    const std::optional<std::int16_t> kept;  // the field keeps its earlier value
    const std::tuple<Conversion, const char*, std::optional<std::int16_t>> cases[] = {
        // clang-format off
        {Integer, " 12 ", 12}, {Integer, "2.5", 2}, {Integer, "3.5", 4}, {Integer, "-2.5", -2},
        {Integer, "1E3", 1000}, {Integer, "32767", 32767}, {Integer, "32768", kept},
        {Integer, "-32768.4", -32768}, {Integer, "-32768.6", kept}, {Integer, "12abc", kept},
        {Integer, "", kept}, {Integer, "True", kept}, {LeadingNumber, "12abc", 12},
        {LeadingNumber, " 1 2 3", 123}, {LeadingNumber, "abc", 0}, {LeadingNumber, "-x", 0},
        {LeadingNumber, "", 0}, {LeadingNumber, "- 4.5x", -4}, {LeadingNumber, "5.5", 6},
        {LeadingNumber, "+7", 7}, {LeadingNumber, "1e2x", 100}, {LeadingNumber, "1e+2x", 100},
        {LeadingNumber, "1e-2x", 0}, {LeadingNumber, "3e", 3}, {LeadingNumber, "99999", kept},
        {LeadingNumber, "1e999", kept}, {RoundedDown, "2.9", 2}, {RoundedDown, "-2.1", -3},
        {RoundedDown, "32767.9", 32767}, {RoundedDown, "-32768.5", kept}, {RoundedDown, "x", kept},
        {None, "5", kept}};
    // clang-format on
    for (const auto& [kind, text, value] : cases) {
        EXPECT_EQ(convertLine(text, kind), value) << static_cast<int>(kind) << " " << text;
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

// Each row changes one line of a file loaded before. Lines 1-8 are trimmed at both ends, 9-16
// not at all, 29 only when longer than one character; line 32 is never read. A line that is no
// number keeps the value of the last load (line 18's when it is line 20), but a leading number
// reads as 0; Flags2 field 4 tells whether field 3 is 1.
TEST(LoadReaderConfig, EachLineTakesItsOwnTrimmingAndConversion) {
    const ReaderRecords first = load(numberedLines());
    // the line (from 1), its text, and the field that shows it with its value
    const std::tuple<std::size_t, const char*, RecordId, int, int> cases[] = {
        {1, "(7)", IDDispParms, 1, 7},        {29, "5", LEDCtrl, 1, 5},
        {9, "\"9\"", Flags, 1, 109},          {32, "5", Flags, 1, 109},
        {5, "\"x\"", IDBitCnts, 1, 105},      {43, "\"x\"", IDDispParms3, 2, 0},
        {20, "\"later\"", TimeParms, 3, 118}, {28, "\"1\"", Flags2, 4, 1},
        {28, "\"2\"", Flags2, 4, 0},          {28, "\"0\"", Flags2, 4, 0},
        {28, "\"1.4\"", Flags2, 4, 1}};
    for (const auto& [line, text, record, field, value] : cases) {
        auto lines = numberedLines();
        lines[line - 1] = text;
        EXPECT_EQ(load(lines, first)[record][field], value) << line << " " << text;
    }
}

// A file that does not load leaves the records of the last load as they were.
TEST(LoadReaderConfig, AnyLineEndWorksOnly47LinesCountAndShortOrUnreadableFilesChangeNothing) {
    std::string cr = numberedConfig(), mixed = numberedConfig(), shortText = numberedConfig();
    std::replace(cr.begin(), cr.end(), '\n', '\r');
    mixed.replace(mixed.find('\n'), 1, "\r\n");
    mixed.pop_back();  // the last line ends with the file
    shortText.erase(shortText.rfind("\"147\""));
    const std::string longLine(kMaxConfigLineLength + 1, '7');
    const ReaderRecords before = load(numberedLines());
    const std::pair<std::string, bool> cases[] = {
        {cr, true},         {mixed, true}, {numberedConfig() + longLine + "\n", true},
        {shortText, false}, {"", false},   {longLine + "\n" + numberedConfig(), false}};
    for (const auto& [text, loads] : cases) {
        ReaderRecords records = loads ? ReaderRecords{} : before;
        std::istringstream in(text);
        EXPECT_EQ(loadReaderConfig(in, records), loads);
        EXPECT_EQ(records, before);
    }
    ReaderRecords records = before;
    EXPECT_TRUE(loadReaderConfigFile(MORVANE_SHIPPED_DEFAULT_HWG, records));  // complete
    records = before;
    EXPECT_FALSE(loadReaderConfigFile("/nonexistent/Default.hwg", records));
    EXPECT_FALSE(loadReaderConfigFile(std::filesystem::temp_directory_path(), records));
    // A named pipe nobody writes to would block an ordinary open for ever.
    const auto fifo =
        std::filesystem::temp_directory_path() / ("hwg-fifo-" + std::to_string(getpid()));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    EXPECT_FALSE(loadReaderConfigFile(fifo, records));
    std::filesystem::remove(fifo);
    EXPECT_EQ(records, before);
}

}  // namespace
}  // namespace morvane::test
