#include "formats/bits.h"

#include <array>
#include <charconv>

namespace morvane {

std::uint64_t bitStringValue(std::string_view bits) {
    std::uint64_t value = 0;
    for (char c : bits) value = (value << 1) | static_cast<std::uint64_t>(c == '1');
    return value;
}

std::string GetNumber(std::string_view sBinaryValue) {
    if (sBinaryValue.empty()) return {};
    // Leading zeros change nothing; what is left decides whether 64 bits can hold it.
    const auto first = sBinaryValue.find('1');
    if (first == std::string_view::npos) return "0";
    const std::string_view bits = sBinaryValue.substr(first);
    if (bits.size() <= 64) {
        std::array<char, 24> buffer{};
        const auto res =
            std::to_chars(buffer.data(), buffer.data() + buffer.size(), bitStringValue(bits));
        return std::string(buffer.data(), res.ptr);
    }
    // Longer than any frame: doubling in decimal, least significant digit first.
    std::string digits = "0";
    for (char c : bits) {
        int carry = c == '1' ? 1 : 0;
        for (char& d : digits) {
            const int v = (d - '0') * 2 + carry;
            d = static_cast<char>('0' + v % 10);
            carry = v / 10;
        }
        if (carry) digits.push_back(static_cast<char>('0' + carry));
    }
    return std::string(digits.rbegin(), digits.rend());
}

}  // namespace morvane
