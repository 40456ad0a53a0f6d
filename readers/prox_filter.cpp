#include "readers/prox_filter.h"

#include "formats/bits.h"

namespace morvane {

namespace {

int hexDigitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// Card bit p (weight 2^p) of the hex text; 0 beyond its last digit.
bool cardBit(std::string_view cardHex, std::size_t p) {
    const std::size_t digitFromEnd = p / 4;
    if (digitFromEnd >= cardHex.size()) return false;
    const int digit = hexDigitValue(cardHex[cardHex.size() - 1 - digitFromEnd]);
    return ((digit >> (p % 4)) & 1) != 0;
}

}  // namespace

bool FilterByMask(std::string_view mask, std::string_view cardHex, std::string& facilityField,
                  std::string& hotstampField) {
    for (char c : cardHex) {
        if (hexDigitValue(c) < 0) return false;
    }
    std::string facility;
    std::string hotstamp;
    for (std::size_t k = 0; k < mask.size(); ++k) {
        const char bit = cardBit(cardHex, mask.size() - 1 - k) ? '1' : '0';
        if (mask[k] == 'F') facility.push_back(bit);
        if (mask[k] == 'I') hotstamp.push_back(bit);
    }
    facilityField = std::move(facility);
    hotstampField = std::move(hotstamp);
    return true;
}

std::string FieldValue(std::string_view field) {
    return field.empty() ? std::string("0") : GetNumber(field);
}

}  // namespace morvane
