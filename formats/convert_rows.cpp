#include "formats/convert_rows.h"

#include <algorithm>

#include "formats/numeric_error.h"
#include "formats/numeric_text.h"

namespace morvane {

RowConverter::RowConverter(std::string_view cardFormat, std::int32_t facilityCode,
                           std::int32_t version)
    : cardFormat_(cardFormat),
      facilityBox_(std::to_string(facilityCode)),
      versionBox_(std::to_string(version)),
      calculate_(cardFormat_, facilityCode, *this) {}

void RowConverter::showMessage(std::string_view text) {
    messages_.append(messages_.empty() ? "" : "; ").append(text);
}

ConvertedRow RowConverter::operator()(std::string_view hotstamp) {
    messages_.clear();
    ConvertedRow row{std::string(hotstamp), {}, {}};
    try {
        row.proxData = calculate_(hotstamp);
    } catch (const NumericError& e) {
        showMessage(e.text());
    }
    row.messages = messages_;
    return row;
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

HotstampRange readHotstampRange(std::string_view from, std::string_view to) {
    // Fifteen digits keep every hotstamp exact wherever it is read as a number.
    const auto number = [](std::string_view text) -> std::optional<std::uint64_t> {
        text = trimmed(text);
        if (text.empty() || text.size() > 15) return std::nullopt;
        if (text.find_first_not_of("0123456789") != std::string_view::npos) return std::nullopt;
        return std::stoull(std::string(text));
    };
    const auto first = number(from);
    const auto last = number(to);
    if (!first || !last) return {0, 0, "a range runs from one whole number to another"};
    if (*first > *last) return {0, 0, "the range runs backwards"};
    if (*last - *first >= kMaxBatchHotstamps) {
        return {0, 0, "a range holds at most " + std::to_string(kMaxBatchHotstamps) +
                          " hotstamps"};
    }
    return {*first, *last, {}};
}

}  // namespace morvane
