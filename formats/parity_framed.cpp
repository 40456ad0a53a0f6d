#include "formats/parity_framed.h"

#include "formats/bits.h"
#include "formats/card_format.h"
#include "formats/layout_encoder.h"
#include "formats/numeric_text.h"

namespace morvane {

namespace {

EncoderResult encodeFramed(LayoutId id, double iNumber, std::int32_t iFacilityCode,
                           MessageSink& sink, EncoderHost* boxes) {
    const auto word =
        encodeWord(layout(id), {roundHalfEven(iNumber), iFacilityCode}, sink, boxes);
    if (!word) return std::nullopt;
    return significantOctal(*word);
}

}  // namespace

EncoderResult BitFormat26(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeFramed(LayoutId::F26, iNumber, iFacilityCode, host, &host);
}

EncoderResult BitFormat34(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeFramed(LayoutId::F34, iNumber, iFacilityCode, host, &host);
}

EncoderResult BitFormat35(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeFramed(LayoutId::F35, iNumber, iFacilityCode, host, &host);
}

EncoderResult BitFormat37(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeFramed(LayoutId::F37, iNumber, iFacilityCode, host, &host);
}

EncoderResult BitFormat37NFC(double iNumber, EncoderHost& host) {
    return encodeFramed(LayoutId::F37NFC, iNumber, 0, host, &host);
}

namespace reader {

EncoderResult BitFormat26(double iNumber, std::int32_t iFacilityCode, MessageSink& sink) {
    return encodeFramed(LayoutId::F26, iNumber, iFacilityCode, sink, nullptr);
}

EncoderResult BitFormat34(double iNumber, std::int32_t iFacilityCode, MessageSink& sink) {
    return encodeFramed(LayoutId::F34, iNumber, iFacilityCode, sink, nullptr);
}

EncoderResult BitFormat37(double iNumber, std::int32_t iFacilityCode, MessageSink& sink) {
    return encodeFramed(LayoutId::F37, iNumber, iFacilityCode, sink, nullptr);
}

}  // namespace reader

}  // namespace morvane
