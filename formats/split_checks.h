#pragma once

#include <string_view>

// Whether bit data (three "0"/"1" characters per card data digit) is a credential of a card
// format. The checks address bits from the end of the bit data, bit 0 being its last
// character, whatever its length; none of them needs the other.
namespace morvane {

bool IsFormat26(std::string_view bitData);
bool IsFormat34(std::string_view bitData);
bool IsFormat35(std::string_view bitData);
bool IsFormat35V(std::string_view bitData);
bool IsFormat36V(std::string_view bitData);
bool IsFormat37V(std::string_view bitData);
bool IsFormat37(std::string_view bitData);
bool IsFormatProxif(std::string_view bitData);
bool IsFormatCasi(std::string_view bitData);

}  // namespace morvane
