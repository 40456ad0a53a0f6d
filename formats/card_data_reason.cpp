#include "formats/card_data_reason.h"

#include <array>
#include <cstdio>

namespace morvane {

void appendEscaped(std::string& out, unsigned char c) {
    if (c == '"' || c == '\\') {
        out.push_back('\\');
        out.push_back(static_cast<char>(c));
    } else if (c < 0x20 || c >= 0x7f) {
        std::array<char, 5> hex{};
        std::snprintf(hex.data(), hex.size(), "\\x%02x", c);
        out.append(hex.data(), 4);
    } else {
        out.push_back(static_cast<char>(c));
    }
}

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    return count;
}

std::string rejectionReason(std::string_view cardData, const SplitResult& result) {
    if (result.state != SplitState::Rejected) return {};
    const std::size_t length = characterCount(cardData);
    if (length > kMaxCardDataLength) {
        return std::to_string(length) + " characters, more than the " +
               std::to_string(kMaxCardDataLength) + " the card data box holds";
    }
    const std::size_t at = cardData.find_first_not_of("01234567");
    if (at == std::string_view::npos) return {};
    // Everything in front of it is an octal digit, so its byte is also its character position;
    // a UTF-8 character is shown with all of its bytes.
    std::string bad;
    std::size_t end = at + 1;
    while (end < cardData.size() && (static_cast<unsigned char>(cardData[end]) & 0xC0U) == 0x80U) {
        ++end;
    }
    for (std::size_t i = at; i < end; ++i) {
        appendEscaped(bad, static_cast<unsigned char>(cardData[i]));
    }
    return "\"" + bad + "\" at character " + std::to_string(at + 1) + " is not an octal digit";
}

}  // namespace morvane
