#pragma once

#include "formats/card_word.h"

// Whether card data is a credential of a card format, bit 0 being the last bit of the card
// data; none of the checks needs another.
namespace morvane {

bool IsFormat26(CardWord w);
bool IsFormat34(CardWord w);
bool IsFormat35(CardWord w);
bool IsFormat35V(CardWord w);
bool IsFormat36V(CardWord w);
bool IsFormat37V(CardWord w);
bool IsFormat37(CardWord w);
bool IsFormatProxif(CardWord w);
bool IsFormatCasi(CardWord w);

}  // namespace morvane
