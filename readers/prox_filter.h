#pragma once

#include <string>
#include <string_view>

// Splits card bits under a layout mask into facility code and hotstamp.
namespace morvane {

// A field is the bit string (leading bit first) of the card bits under the mask's "F" or "I"
// characters. The card hex text is read as one number whose bit 0 lines up with the mask's last
// character; card bits beyond the mask are ignored and mask positions beyond the card bits read
// as 0. A text holding anything but hexadecimal digits leaves both places untouched and gives
// false.
bool FilterByMask(std::string_view mask, std::string_view cardHex, std::string& facilityField,
                  std::string& hotstampField);

// The decimal value of a field; a field of no bits is 0.
std::string FieldValue(std::string_view field);

}  // namespace morvane
