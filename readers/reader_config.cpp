#include "readers/reader_config.h"

#include <array>
#include <cmath>
#include <istream>
#include <sstream>

#include "formats/numeric_error.h"
#include "formats/numeric_text.h"
#include "readers/leading_number.h"
#include "readers/regular_file.h"

namespace morvane {

namespace {

using enum RecordId;
constexpr Trim kBothEnds = Trim::BothEnds;
constexpr Trim kIfLonger = Trim::IfLonger;
constexpr Trim kAsIs = Trim::None;
constexpr Conversion kInteger = Conversion::Integer;
constexpr Conversion kLeading = Conversion::LeadingNumber;
constexpr Conversion kRoundedDown = Conversion::RoundedDown;
constexpr Conversion kUnused = Conversion::None;

constexpr std::array<ConfigLine, kConfigLineCount> kLines{{
    {kBothEnds, kInteger, IDDispParms, 1},    // 1
    {kBothEnds, kInteger, IDDispParms, 2},    // 2
    {kBothEnds, kInteger, IDDispParms, 3},    // 3
    {kBothEnds, kInteger, IDDispParms, 4},    // 4
    {kBothEnds, kInteger, IDBitCnts, 1},      // 5
    {kBothEnds, kInteger, IDBitCnts, 2},      // 6
    {kBothEnds, kInteger, IDBitCnts, 3},      // 7
    {kBothEnds, kInteger, IDBitCnts, 4},      // 8
    {kAsIs, kInteger, Flags, 1},              // 9
    {kAsIs, kInteger, Flags, 2},              // 10
    {kAsIs, kInteger, Flags, 3},              // 11
    {kAsIs, kInteger, Flags, 4},              // 12
    {kAsIs, kInteger, Flags, 5},              // 13
    {kAsIs, kInteger, Flags, 6},              // 14
    {kAsIs, kInteger, Flags, 7},              // 15
    {kAsIs, kInteger, Flags, 8},              // 16
    {kBothEnds, kRoundedDown, TimeParms, 1},  // 17
    {kBothEnds, kRoundedDown, TimeParms, 3},  // 18
    {kBothEnds, kRoundedDown, TimeParms, 2},  // 19
    {kBothEnds, kRoundedDown, TimeParms, 3},  // 20: replaces line 18
    {kBothEnds, kRoundedDown, TimeParms, 4},  // 21
    {kBothEnds, kRoundedDown, TimeParms, 5},  // 22
    {kBothEnds, kInteger, IDDispParms2, 1},   // 23
    {kBothEnds, kInteger, IDDispParms2, 2},   // 24
    {kBothEnds, kInteger, IDDispParms2, 3},   // 25
    {kBothEnds, kInteger, IDDispParms2, 4},   // 26
    {kIfLonger, kLeading, Flags2, 2},         // 27
    {kIfLonger, kLeading, Flags2, 3},         // 28: Flags2 4 follows it
    {kIfLonger, kLeading, LEDCtrl, 1},        // 29
    {kIfLonger, kLeading, LEDCtrl, 2},        // 30
    {kIfLonger, kLeading, LEDCtrl, 3},        // 31
    {kIfLonger, kUnused, Flags, 1},           // 32: not used
    {kIfLonger, kInteger, IDDispParms2, 5},   // 33
    {kIfLonger, kInteger, IDDispParms2, 6},   // 34
    {kIfLonger, kInteger, Flags2, 6},         // 35
    {kIfLonger, kRoundedDown, Flags2, 5},     // 36
    {kIfLonger, kRoundedDown, Flags2, 7},     // 37
    {kIfLonger, kInteger, Flags3, 1},         // 38
    {kIfLonger, kInteger, Flags3, 2},         // 39
    {kIfLonger, kInteger, Flags3, 3},         // 40
    {kIfLonger, kInteger, Flags3, 4},         // 41
    {kBothEnds, kInteger, IDDispParms3, 1},   // 42
    {kBothEnds, kLeading, IDDispParms3, 2},   // 43
    {kBothEnds, kLeading, IDDispParms3, 3},   // 44
    {kBothEnds, kLeading, IDDispParms3, 4},   // 45
    {kIfLonger, kInteger, Flags3, 5},         // 46
    {kIfLonger, kInteger, Flags3, 6},         // 47
}};

// Flags2 field 4 is not in the file: it tells the reader whether field 3 is exactly 1.
constexpr std::size_t kDerivedAfterLine = 28;

void applyLine(std::string_view line, const ConfigLine& rule, ReaderRecords& records) {
    const auto value = convertLine(trimLine(line, rule.trim), rule.conversion);
    if (value) records[rule.record][rule.field] = *value;
}

}  // namespace

std::span<const ConfigLine, kConfigLineCount> configLines() { return kLines; }

std::string_view trimLine(std::string_view line, Trim trim) {
    if (trim == Trim::None || (trim == Trim::IfLonger && line.size() <= 1)) return line;
    if (line.size() < 2) return {};
    return line.substr(1, line.size() - 2);
}

std::optional<std::int16_t> convertLine(std::string_view text, Conversion conversion) {
    switch (conversion) {
        case Conversion::Integer: {
            const auto value = parseNumber(text);
            return value ? fitInt16(*value) : std::nullopt;
        }
        case Conversion::LeadingNumber: {
            const auto value = leadingNumber(text);
            return value ? fitInt16(*value) : std::nullopt;
        }
        case Conversion::RoundedDown: {
            const auto value = parseNumber(text);
            return value ? fitInt16(std::floor(*value)) : std::nullopt;
        }
        case Conversion::None:
            break;
    }
    return std::nullopt;
}

std::optional<std::vector<std::string>> readConfigLines(std::istream& in, std::size_t count) {
    std::vector<std::string> lines;
    std::streambuf* buffer = in.rdbuf();
    if (buffer == nullptr || !in) return lines;
    constexpr auto eof = std::char_traits<char>::eof();
    while (lines.size() < count) {
        std::string line;
        int c = buffer->sbumpc();
        if (c == eof) break;
        while (c != eof && c != '\r' && c != '\n') {
            if (line.size() == kMaxConfigLineLength) return std::nullopt;
            line.push_back(static_cast<char>(c));
            c = buffer->sbumpc();
        }
        if (c == '\r' && buffer->sgetc() == '\n') buffer->sbumpc();
        lines.push_back(std::move(line));
    }
    return lines;
}

bool loadReaderConfig(std::istream& in, ReaderRecords& records) {
    const auto lines = readConfigLines(in, kConfigLineCount);
    if (!lines || lines->size() < kConfigLineCount) return false;
    ReaderRecords loaded = records;
    for (std::size_t i = 0; i < kConfigLineCount; ++i) {
        applyLine((*lines)[i], kLines[i], loaded);
        if (i + 1 == kDerivedAfterLine) loaded[Flags2][4] = loaded[Flags2][3] == 1 ? 1 : 0;
    }
    records = loaded;
    return true;
}

bool loadReaderConfigFile(const std::filesystem::path& path, ReaderRecords& records) {
    // Bytes past the longest usable file are no use.
    const auto text = readRegularFile(path, kConfigLineCount * (kMaxConfigLineLength + 2));
    if (!text) return false;
    std::istringstream in(*text);
    return loadReaderConfig(in, records);
}

}  // namespace morvane
