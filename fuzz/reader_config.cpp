// The reader configuration file Default.hwg, which anyone may edit or replace beside the
// program. Input: the file's bytes.
//
// Beyond "no crash": lines come back without line ends and within their length limit, a file
// that is not loaded changes nothing, a loaded one touches only the fields its lines name, keeps
// Flags2 field 4 in step with field 3 and loads to the same records a second time, and each
// line's leading number agrees with the number the whole line reads as.
#include "readers/reader_config.h"

#include <set>
#include <sstream>
#include <utility>

#include "formats/numeric_text.h"
#include "fuzz/fuzz_support.h"
#include "readers/leading_number.h"

namespace {

using namespace morvane;

// Distinct, recognisable values, so that a field written by mistake shows.
ReaderRecords patterned(std::int16_t base) {
    ReaderRecords records;
    for (std::size_t r = 0; r < kRecordCount; ++r) {
        for (std::size_t f = 0; f < kRecordFields; ++f) {
            records.record[r].field[f] = static_cast<std::int16_t>(base + 16 * r + f);
        }
    }
    return records;
}

std::set<std::pair<RecordId, int>> fieldsTheFileNames() {
    std::set<std::pair<RecordId, int>> named;
    for (const ConfigLine& line : configLines()) {
        if (line.conversion != Conversion::None) named.emplace(line.record, line.field);
    }
    named.emplace(RecordId::Flags2, 4);
    return named;
}

bool load(std::string_view file, ReaderRecords& records) {
    std::istringstream in{std::string(file)};
    return loadReaderConfig(in, records);
}

void checkLine(std::string_view line) {
    for (Trim trim : {Trim::None, Trim::BothEnds, Trim::IfLonger}) {
        const std::string_view trimmed = trimLine(line, trim);
        FUZZ_CHECK(trimmed.size() + 2 >= line.size() &&
                   line.find(trimmed) != std::string_view::npos);
        for (Conversion c : {Conversion::None, Conversion::Integer, Conversion::LeadingNumber,
                             Conversion::RoundedDown}) {
            const auto value = convertLine(trimmed, c);
            if (c == Conversion::None) FUZZ_CHECK(!value);
        }
        // A line that is a number starts with that same number.
        if (const auto whole = parseNumber(trimmed)) {
            const auto leading = leadingNumber(trimmed);
            FUZZ_CHECK(leading && *leading == *whole);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view file = fuzz::asText(data, size);

    std::istringstream in{std::string(file)};
    const auto lines = readConfigLines(in, kConfigLineCount);
    FUZZ_CHECK(lines.has_value() || file.size() > kMaxConfigLineLength);
    if (lines) {
        FUZZ_CHECK(lines->size() <= kConfigLineCount);
        for (const std::string& line : *lines) {
            FUZZ_CHECK(line.size() <= kMaxConfigLineLength);
            FUZZ_CHECK(line.find_first_of("\r\n") == std::string::npos);
            checkLine(line);
        }
    }
    const bool complete = lines && lines->size() == kConfigLineCount;

    static const auto named = fieldsTheFileNames();
    for (std::int16_t base : {std::int16_t{0}, std::int16_t{-20000}}) {
        const ReaderRecords before = patterned(base);
        ReaderRecords records = before;
        FUZZ_CHECK(load(file, records) == complete);
        if (!complete) {
            FUZZ_CHECK(records == before);
            continue;
        }
        for (std::size_t r = 0; r < kRecordCount; ++r) {
            for (int f = 1; f <= static_cast<int>(kRecordFields); ++f) {
                const auto id = static_cast<RecordId>(r);
                if (!named.contains({id, f})) FUZZ_CHECK(records[id][f] == before[id][f]);
            }
        }
        FUZZ_CHECK(records[RecordId::Flags2][4] == (records[RecordId::Flags2][3] == 1 ? 1 : 0));
        const ReaderRecords once = records;
        FUZZ_CHECK(load(file, records) && records == once);
    }
    return 0;
}
