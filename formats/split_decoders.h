#pragma once

#include <string_view>

#include "formats/split_catalogue.h"

// The decoders of the Split Data page: each writes its format's boxes from fixed character
// positions of the bit data, counted from the left. Bit data shorter than 48 characters is read
// at the same positions, so a slice past its end is cut short or left empty.
namespace morvane {

void SplitFormat26(std::string_view bitData, ResultBoxes& boxes);
void SplitFormat34(std::string_view bitData, ResultBoxes& boxes);
void SplitFormat35(std::string_view bitData, ResultBoxes& boxes);
void SplitFormat35V(std::string_view bitData, ResultBoxes& boxes);
void SplitFormat36V(std::string_view bitData, ResultBoxes& boxes);
void SplitFormat37V(std::string_view bitData, ResultBoxes& boxes);
void SplitFormat37(std::string_view bitData, ResultBoxes& boxes);
void SplitFormatProxif(std::string_view bitData, ResultBoxes& boxes);
void SplitFormatCasi(std::string_view bitData, ResultBoxes& boxes);

// What a column shows when the bit data is not one of its format's credentials.
void writeRefusal(SplitFormatId id, ResultBoxes& boxes);

}  // namespace morvane
