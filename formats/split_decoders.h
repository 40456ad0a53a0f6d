#pragma once

#include "formats/card_word.h"
#include "formats/split_catalogue.h"

// The decoders of the Split Data page: each writes its format's boxes from fixed character
// positions of the bit data, counted from the left. Bit data shorter than 48 characters is read
// at the same positions, so a slice past its end is cut short or left empty.
namespace morvane {

// A column's boxes from the card data of one of its format's credentials.
void decodeColumn(SplitFormatId id, CardWord w, ResultBoxes& boxes);

// What a column shows when the bit data is not one of its format's credentials.
void writeRefusal(SplitFormatId id, ResultBoxes& boxes);

}  // namespace morvane
