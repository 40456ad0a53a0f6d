#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "readers/parameter_record.h"

// The reader configuration file Default.hwg: 47 lines, each trimmed and converted by its own
// rule into one field of the nine parameter records a reader is programmed with.
namespace morvane {

inline constexpr std::string_view kReaderConfigFile = "Default.hwg";
inline constexpr std::size_t kConfigLineCount = 47;
// A longer line is not a configuration line; the file counts as unreadable.
inline constexpr std::size_t kMaxConfigLineLength = 65536;

enum class Trim : std::uint8_t {
    None,
    BothEnds,  // drop the last character, then the first
    IfLonger,  // the same, only for a line of more than one character
};

enum class Conversion : std::uint8_t {
    None,           // the line is read and not used
    Integer,        // a decimal number, rounded half to even
    LeadingNumber,  // the number the text starts with (0 when none), rounded half to even
    RoundedDown,    // a decimal number, rounded down
};

struct ConfigLine {
    Trim trim;
    Conversion conversion;
    RecordId record;
    int field;  // 1 to 8
};

// The rule of every line, line 1 first.
std::span<const ConfigLine, kConfigLineCount> configLines();

std::string_view trimLine(std::string_view line, Trim trim);

// The field value a trimmed line gives; no value when the field keeps its earlier value (no
// number, or a number outside -32768..32767).
std::optional<std::int16_t> convertLine(std::string_view text, Conversion conversion);

// Up to `count` lines from the stream; a line ends at a carriage return, a carriage return and
// line feed, or a line feed, and the end of the stream ends the last line. No value when a line
// is longer than kMaxConfigLineLength.
std::optional<std::vector<std::string>> readConfigLines(std::istream& in, std::size_t count);

// Applies the 47 lines over the records held so far. Only a file of at least 47 readable lines
// changes them: gives true; anything less leaves the records as they were and gives false.
bool loadReaderConfig(std::istream& in, ReaderRecords& records);
bool loadReaderConfigFile(const std::filesystem::path& path, ReaderRecords& records);

}  // namespace morvane
