#include "formats/octal_fields.h"

#include "formats/card_format.h"
#include "formats/layout_encoder.h"
#include "formats/numeric_text.h"

namespace morvane {

// The fields fill the whole word and start on octal digit boundaries, so the 16 digits of the
// word are the fields' digits side by side.
EncoderResult BitFormatProxif(double iNumber, std::int32_t iFacilityCode, std::int32_t iVersion,
                              EncoderHost& host) {
    const auto word = encodeWord(layout(LayoutId::Proxif),
                                 {roundHalfEven(iNumber), iFacilityCode, iVersion}, host, &host);
    if (!word) return std::nullopt;
    return proxDataText(*word);
}

EncoderResult BitFormatCasi(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    const auto word =
        encodeWord(layout(LayoutId::Casi), {roundHalfEven(iNumber), iFacilityCode}, host, &host);
    if (!word) return std::nullopt;
    return proxDataText(*word);
}

}  // namespace morvane
