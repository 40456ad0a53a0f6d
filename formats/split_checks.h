#pragma once

#include "formats/card_word.h"

// Whether card data is a credential of a card format. The checks address bits from the end of
// the card data, bit 0 being its last bit, whatever its length; none of them needs the other.
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
