#include "formats/convert_rows.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "formats/numeric_error.h"
#include "formats/numeric_text.h"

namespace morvane {

RowConverter::RowConverter(std::string_view cardFormat, std::int32_t facilityCode,
                           std::string facilityBox, std::string versionBox, MessageShown onMessage)
    : cardFormat_(cardFormat),
      facilityBox_(std::move(facilityBox)),
      versionBox_(std::move(versionBox)),
      onMessage_(std::move(onMessage)),
      calculate_(cardFormat_, facilityCode, *this) {}

RowConverter::RowConverter(std::string_view cardFormat, std::int32_t facilityCode,
                           std::int32_t version)
    : RowConverter(cardFormat, facilityCode, std::to_string(facilityCode),
                   std::to_string(version), [](std::string_view) {}) {}

void RowConverter::showMessage(std::string_view text) {
    onMessage_(text);
    messages_.append(messages_.empty() ? "" : "; ").append(text);
}

ProxDataText RowConverter::proxData(std::string_view hotstamp) {
    messages_.clear();
    try {
        return calculate_(hotstamp);
    } catch (const NumericError& e) {
        showMessage(e.text());
        return {};
    }
}

ProxDataText RowConverter::refuse(std::string_view reason) {
    messages_.clear();
    showMessage(reason);
    return {};
}

ConvertedRow RowConverter::operator()(std::string_view hotstamp) {
    const ProxDataText answer = proxData(hotstamp);
    return {std::string(hotstamp), answer, messages_};
}

namespace {

bool hasDigit(std::string_view text) {
    return std::any_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

std::string_view trimmed(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(" \t\r") - first + 1);
}

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

std::vector<std::string> hotstampLines(std::string_view text) {
    std::vector<std::string> lines;
    bool first = true;
    while (!text.empty()) {
        const auto end = std::min(text.find('\n'), text.size());
        const std::string_view line = trimmed(text.substr(0, end));
        text.remove_prefix(std::min(end + 1, text.size()));
        if (line.empty()) continue;
        if (!(first && !hasDigit(line))) lines.emplace_back(line);
        first = false;
    }
    return lines;
}

std::optional<HotstampRange> parseHotstampRange(std::string_view fromText, std::string_view toText,
                                                const Layout& l, std::string& why) {
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

}  // namespace morvane
