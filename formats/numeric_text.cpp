#include "formats/numeric_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <limits>

#include "formats/numeric_error.h"

namespace morvane {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Checks the grammar and returns the text from_chars should read (no blanks, no '+').
std::optional<std::string_view> numericBody(std::string_view text) {
    text = trimSpaces(text);
    if (text.empty()) return std::nullopt;
    std::size_t i = 0;
    const bool plus = text[0] == '+';
    if (plus || text[0] == '-') ++i;
    std::size_t digits = 0;
    bool point = false;
    for (; i < text.size(); ++i) {
        if (isDigit(text[i])) {
            ++digits;
        } else if (text[i] == '.' && !point) {
            point = true;
        } else {
            break;
        }
    }
    if (digits == 0) return std::nullopt;
    if (i < text.size()) {
        if (text[i] != 'e' && text[i] != 'E') return std::nullopt;
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-')) ++i;
        const std::string_view exponent = text.substr(i);
        if (exponent.empty() || !std::all_of(exponent.begin(), exponent.end(), isDigit)) {
            return std::nullopt;
        }
    }
    return plus ? text.substr(1) : text;
}

template <typename Int>
std::optional<Int> fitInteger(double value) {
    const double r = roundHalfEven(value);
    // Both bounds are exact in a double, so the comparison decides the fit exactly.
    if (!(r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
          r <= static_cast<double>(std::numeric_limits<Int>::max()))) {
        return std::nullopt;
    }
    return static_cast<Int>(r);
}

template <typename Int>
Int toInteger(double value) {
    const auto fit = fitInteger<Int>(value);
    if (!fit) throw overflowError();
    return *fit;
}

}  // namespace

std::string_view trimSpaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

std::optional<double> parseNumber(std::string_view text) {
    const auto body = numericBody(text);
    if (!body) return std::nullopt;
    double value = 0;
    const char* end = body->data() + body->size();
    const auto [ptr, ec] = std::from_chars(body->data(), end, value);
    // Out of range covers both a value too large for a double and one that underflows to zero.
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

bool IsNumeric(std::string_view text) { return parseNumber(text).has_value(); }

double roundHalfEven(double value) {
    if (!std::isfinite(value)) return value;
    const double floor = std::floor(value);
    const double diff = value - floor;
    if (diff < 0.5) return floor;
    if (diff > 0.5) return floor + 1.0;
    return std::fmod(floor, 2.0) == 0.0 ? floor : floor + 1.0;
}

std::optional<std::int16_t> fitInt16(double value) { return fitInteger<std::int16_t>(value); }
std::optional<std::int32_t> fitInt32(double value) { return fitInteger<std::int32_t>(value); }

std::int16_t toInt16(double value) { return toInteger<std::int16_t>(value); }
std::int32_t toInt32(double value) { return toInteger<std::int32_t>(value); }

std::int16_t textToInt16(std::string_view text) {
    const auto value = parseNumber(text);
    if (!value) throw typeMismatchError();
    return toInt16(*value);
}

std::int32_t textToInt32(std::string_view text) {
    const auto value = parseNumber(text);
    if (!value) throw typeMismatchError();
    return toInt32(*value);
}

std::string formatNumber(double value) {
    std::array<char, 64> buffer{};
    std::to_chars_result res{};
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        res = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                            std::chars_format::fixed, 0);
    } else {
        res = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value,
                            std::chars_format::general, 15);
    }
    std::string text(buffer.data(), res.ptr);
    if (text == "-0") text = "0";
    for (char& c : text) {
        if (c == 'e') c = 'E';
    }
    return text;
}

std::string& appendDecimal(std::string& out, std::uint64_t value) {
    constexpr std::size_t kMostDigits = 20;
    const std::size_t start = out.size();
    out.resize(start + kMostDigits);
    char* const at = out.data() + start;
    out.resize(start +
               static_cast<std::size_t>(std::to_chars(at, at + kMostDigits, value).ptr - at));
    return out;
}

}  // namespace morvane
