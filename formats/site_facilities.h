#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "formats/split_catalogue.h"

// The facility codes a site uses, each with the card format it uses it with: what the optional
// facilities file lists, one pair per line ("123 26"). Ranking the formats card data passes
// prefers one whose facility code the site uses.
namespace morvane {

inline constexpr std::string_view kFacilitiesFile = "facilities";

class SiteFacilities {
  public:
    void add(SplitFormatId format, std::uint64_t facility);
    bool uses(SplitFormatId format, std::uint64_t facility) const;
    bool empty() const;

  private:
    std::array<std::vector<std::uint64_t>, kSplitFormatCount> codes_{};  // each sorted
};

struct ParsedFacilities {
    SiteFacilities facilities;
    std::size_t badLines = 0;       // lines that are neither a pair, blank nor a comment
    std::size_t firstBadLine = 0;   // its line number, counted from 1
    std::string_view firstBadText;  // that line, in the parsed text
};

// A line holds a facility code (decimal, within the format's limit) and a card format code (in
// any case, "37v" is "37V"), separated by blanks; "#" starts a comment. Bad lines are counted and
// left out, never guessed at.
ParsedFacilities parseFacilities(std::string_view text);

// The one line standard error gets about a file's bad lines; empty when there are none.
std::string badFacilityLines(std::string_view fileName, const ParsedFacilities& parsed);

}  // namespace morvane
