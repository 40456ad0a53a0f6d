#include "cli/hotstamp_range.h"

#include <algorithm>
#include <charconv>

namespace morvane::cli {

std::optional<HotstampRange> parseHotstampRange(std::string_view text, const Layout& l,
                                                std::string& why) {
    const std::size_t dash = std::min(text.find('-'), text.size());
    return morvane::parseHotstampRange(text.substr(0, dash),
                                       text.substr(std::min(dash + 1, text.size())), l, why);
}

void forEachInRange(const HotstampRange& range, const LineHandler& onLine) {
    char text[24];
    for (std::uint64_t hotstamp = range.from, number = 1;; ++hotstamp, ++number) {
        const auto end = std::to_chars(text, text + sizeof text, hotstamp).ptr;
        onLine(InputLine{std::string_view(text, static_cast<std::size_t>(end - text)), false,
                         number, false, true});
        if (hotstamp == range.to) return;
    }
}

int forEachHotstamp(const std::optional<HotstampRange>& range,
                    const std::vector<std::string>& operands, const LineHandler& onLine,
                    const BeforeWait& beforeWait) {
    if (!range) return forEachInput(operands, onLine, beforeWait);
    forEachInRange(*range, onLine);
    return operands.empty() ? 0 : forEachInput(operands, onLine, beforeWait);
}

}  // namespace morvane::cli
