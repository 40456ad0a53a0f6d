#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "cli/line_io.h"
#include "formats/card_format.h"
#include "formats/convert_rows.h"

// `convert --range FROM-TO`: a box of cards with consecutive hotstamps, as one more source of
// hotstamps beside the arguments and standard input.
namespace morvane::cli {

// "FROM-TO", as parseHotstampRange reads the two numbers.
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
