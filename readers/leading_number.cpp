#include "readers/leading_number.h"

#include <charconv>
#include <cmath>
#include <string>

namespace morvane {

namespace {

bool isBlank(char c) { return c == ' ' || c == '\t'; }
bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The text with its blanks removed, cut where the number ends.
class NumberScanner {
  public:
    explicit NumberScanner(std::string_view text) : text_(text) {}

    std::string scan() {
        std::string number;
        if (peek() == '+' || peek() == '-') {
            if (next() == '-') number.push_back('-');
        }
        bool point = false;
        std::size_t digits = 0;
        for (char c = peek(); isDigit(c) || (c == '.' && !point); c = peek()) {
            point = point || c == '.';
            digits += isDigit(c) ? 1 : 0;
            number.push_back(next());
        }
        if (digits == 0) return {};
        if (peek() == 'e' || peek() == 'E') {
            const std::size_t mark = pos_;
            std::string exponent(1, next());
            if (peek() == '+' || peek() == '-') exponent.push_back(next());
            while (isDigit(peek())) exponent.push_back(next());
            if (isDigit(exponent.back())) {
                number += exponent;
            } else {
                pos_ = mark;
            }
        }
        return number;
    }

  private:
    char peek() {
        while (pos_ < text_.size() && isBlank(text_[pos_])) ++pos_;
        return pos_ < text_.size() ? text_[pos_] : '\0';
    }
    char next() {
        const char c = peek();
        ++pos_;
        return c;
    }

    std::string_view text_;
    std::size_t pos_ = 0;
};

}  // namespace

std::optional<double> leadingNumber(std::string_view text) {
    const std::string number = NumberScanner(text).scan();
    if (number.empty()) return 0.0;
    double value = 0;
    const char* end = number.data() + number.size();
    const auto [ptr, ec] = std::from_chars(number.data(), end, value);
    if (ec != std::errc() || ptr != end || !std::isfinite(value)) return std::nullopt;
    return value + 0.0;  // folds -0 into 0
}

}  // namespace morvane
