#include "formats/site_facilities.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace morvane {

void SiteFacilities::add(SplitFormatId format, std::uint64_t facility) {
    auto& codes = codes_[static_cast<std::size_t>(format)];
    const auto at = std::lower_bound(codes.begin(), codes.end(), facility);
    if (at == codes.end() || *at != facility) codes.insert(at, facility);
}

bool SiteFacilities::uses(SplitFormatId format, std::uint64_t facility) const {
    const auto& codes = codes_[static_cast<std::size_t>(format)];
    return std::binary_search(codes.begin(), codes.end(), facility);
}

bool SiteFacilities::empty() const {
    return std::all_of(codes_.begin(), codes_.end(), [](const auto& c) { return c.empty(); });
}

namespace {

constexpr std::string_view kBlanks = " \t";

bool sameIgnoringCase(std::string_view a, std::string_view b) {
    const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                              [&](char x, char y) { return lower(x) == lower(y); });
}

std::optional<SplitFormatId> columnOf(std::string_view code) {
    for (const SplitColumn& column : splitColumns()) {
        if (sameIgnoringCase(layout(column.layout).code, code)) return column.id;
    }
    return std::nullopt;
}

// The next blank-separated word of the line, taken off its front.
std::string_view nextWord(std::string_view& line) {
    const std::size_t start = std::min(line.find_first_not_of(kBlanks), line.size());
    const std::size_t end = std::min(line.find_first_of(kBlanks, start), line.size());
    const std::string_view word = line.substr(start, end - start);
    line.remove_prefix(end);
    return word;
}

// True for a pair, added; false for a bad line. A blank or comment line is a pair of nothing.
bool addPair(std::string_view line, SiteFacilities& facilities) {
    line = line.substr(0, line.find('#'));
    const std::string_view facilityText = nextWord(line);
    const std::string_view code = nextWord(line);
    if (facilityText.empty()) return true;
    const auto format = columnOf(code);
    if (!format || !nextWord(line).empty()) return false;
    std::uint64_t facility = 0;
    const char* end = facilityText.data() + facilityText.size();
    const auto [at, error] = std::from_chars(facilityText.data(), end, facility);
    const auto limit = layout(splitColumn(*format).layout).facilityLimit;
    if (error != std::errc{} || at != end || !limit || facility > *limit) return false;
    facilities.add(*format, facility);
    return true;
}

}  // namespace

ParsedFacilities parseFacilities(std::string_view text) {
    ParsedFacilities parsed;
    for (std::size_t number = 1; !text.empty(); ++number) {
        const std::size_t end = std::min(text.find_first_of("\r\n"), text.size());
        const std::string_view line = text.substr(0, end);
        text.remove_prefix(end);
        if (text.starts_with("\r\n")) text.remove_prefix(1);
        if (!text.empty()) text.remove_prefix(1);
        if (addPair(line, parsed.facilities)) continue;
        if (parsed.badLines++ == 0) {
            parsed.firstBadLine = number;
            parsed.firstBadText = line;
        }
    }
    return parsed;
}

std::string badFacilityLines(std::string_view fileName, const ParsedFacilities& parsed) {
    if (parsed.badLines == 0) return {};
    std::string text(fileName);
    text += ": " + std::to_string(parsed.badLines) +
            (parsed.badLines == 1 ? " line ignored" : " lines ignored, the first") + " (line " +
            std::to_string(parsed.firstBadLine) + ": \"";
    // Enough of the line to find it by; bytes a terminal might act on are left out.
    for (char c : parsed.firstBadText.substr(0, 40)) {
        text.push_back(static_cast<unsigned char>(c) >= 0x20 && c != 0x7f ? c : '?');
    }
    return text + "\"): not a facility code and a card format code";
}

}  // namespace morvane
