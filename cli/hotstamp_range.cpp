#include "cli/hotstamp_range.h"

#include <algorithm>
#include <charconv>
#include <system_error>

namespace morvane::cli {

namespace {

// Digits only: no sign, blank or exponent can slip into a range.
std::optional<std::uint64_t> wholeNumber(std::string_view text, bool& tooLarge) {
    std::uint64_t value = 0;
    const char* end = text.data() + text.size();
    const auto [at, error] = std::from_chars(text.data(), end, value);
    tooLarge = error == std::errc::result_out_of_range && at == end;
    if (error != std::errc{} || at != end) return std::nullopt;
    return value;
}

}  // namespace

std::optional<HotstampRange> parseHotstampRange(std::string_view text, const Layout& l,
                                                std::string& why) {
    const std::size_t dash = std::min(text.find('-'), text.size());
    const std::string_view fromText = text.substr(0, dash);
    const std::string_view toText = text.substr(std::min(dash + 1, text.size()));
    bool fromTooLarge = false;
    bool toTooLarge = false;
    const auto from = wholeNumber(fromText, fromTooLarge);
    const auto to = wholeNumber(toText, toTooLarge);
    const std::string limit = " is above the hotstamp limit of format " + std::string(l.code) +
                              ", " + std::to_string(l.hotstampLimit);
    if (fromTooLarge || toTooLarge) {
        why = std::string(fromTooLarge ? fromText : toText) + limit;
    } else if (!from || !to) {
        why = "not FROM-TO, two whole numbers";
    } else if (*from > *to) {
        why = std::string(fromText) + " is above " + std::string(toText);
    } else if (*to > l.hotstampLimit) {
        why = std::string(toText) + limit;
    } else if (*to - *from >= kMaxRangeHotstamps) {
        why = "more than " + std::to_string(kMaxRangeHotstamps) + " hotstamps";
    } else {
        return HotstampRange{*from, *to};
    }
    return std::nullopt;
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
