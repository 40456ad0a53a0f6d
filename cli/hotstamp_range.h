#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/line_io.h"
#include "formats/card_format.h"

// `convert --range FROM-TO`: a box of cards with consecutive hotstamps, as one more source of
// hotstamps beside the arguments and standard input.
namespace morvane::cli {

// More at once is a usage error: a box holds a few hundred cards, a lock system's import list
// a few thousand.
inline constexpr std::uint64_t kMaxRangeHotstamps = 1'000'000;

struct HotstampRange {
    std::uint64_t from = 0;
    std::uint64_t to = 0;  // inclusive
};

// "FROM-TO": two whole decimal numbers, FROM at most TO, TO within the layout's hotstamp limit,
// at most kMaxRangeHotstamps of them. No value, and the reason in `why`, otherwise.
std::optional<HotstampRange> parseHotstampRange(std::string_view text, const Layout& l,
                                                std::string& why);

// Each hotstamp of the range as an input line, numbered from 1.
void forEachInRange(const HotstampRange& range, const LineHandler& onLine);

// The range's hotstamps first, then the operands as forEachInput takes them; with a range and
// no operands standard input is not read. Returns 0, or the system's reason a read failed.
int forEachHotstamp(const std::optional<HotstampRange>& range,
                    const std::vector<std::string>& operands, const LineHandler& onLine,
                    const BeforeWait& beforeWait);

}  // namespace morvane::cli
