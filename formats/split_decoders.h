#pragma once

#include "formats/card_word.h"
#include "formats/split_catalogue.h"

// The decoders of the Split Data page: each writes its format's boxes from fixed character
// positions of the bit data, counted from the left. Bit data shorter than 48 characters is read
// at the same positions, so a slice past its end is cut short or left empty.
namespace morvane {

void SplitFormat26(CardWord w, ResultBoxes& boxes);
void SplitFormat34(CardWord w, ResultBoxes& boxes);
void SplitFormat35(CardWord w, ResultBoxes& boxes);
void SplitFormat35V(CardWord w, ResultBoxes& boxes);
void SplitFormat36V(CardWord w, ResultBoxes& boxes);
void SplitFormat37V(CardWord w, ResultBoxes& boxes);
void SplitFormat37(CardWord w, ResultBoxes& boxes);
void SplitFormatProxif(CardWord w, ResultBoxes& boxes);
void SplitFormatCasi(CardWord w, ResultBoxes& boxes);

// What a column shows when the bit data is not one of its format's credentials.
void writeRefusal(SplitFormatId id, ResultBoxes& boxes);

}  // namespace morvane
