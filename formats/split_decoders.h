#pragma once

#include "formats/card_word.h"
#include "formats/split_catalogue.h"

// The decoders of the Split Data page: each writes its format's boxes from fixed character
// positions of the 48-character bit data, counted from the left.
namespace morvane {

// A column's boxes from the card data of one of its format's credentials.
void decodeColumn(SplitFormatId id, CardWord w, ResultBoxes& boxes);

// What a column shows when the bit data is not one of its format's credentials.
void writeRefusal(SplitFormatId id, ResultBoxes& boxes);

}  // namespace morvane
