#include "formats/vorta.h"

#include "formats/bits.h"
#include "formats/card_format.h"
#include "formats/layout_encoder.h"
#include "formats/numeric_text.h"

namespace morvane {

namespace {

EncoderResult encodeVorta(LayoutId id, double iNumber, std::int32_t iFacilityCode,
                          MessageSink& sink, EncoderHost* boxes, Limits limits) {
    const Layout& l = layout(id);
    const auto word = encodeWord(l, {roundHalfEven(iNumber), iFacilityCode}, sink, boxes, limits);
    if (!word) return std::nullopt;
    // The whole frame in octal: 36 bits (sentinel or leading parity included) or 37 bits.
    const int frameTop = l.sentinelBit >= 0 ? l.sentinelBit + 1 : l.frameBits;
    return octalField(*word, (frameTop + 2) / 3);
}

}  // namespace

EncoderResult BitFormat35V(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeVorta(LayoutId::F35V, iNumber, iFacilityCode, host, &host, Limits::Upper);
}

EncoderResult BitFormat36V(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeVorta(LayoutId::F36V, iNumber, iFacilityCode, host, &host, Limits::Upper);
}

EncoderResult BitFormat37V(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeVorta(LayoutId::F37V, iNumber, iFacilityCode, host, &host, Limits::Upper);
}

namespace reader {

EncoderResult BitFormat35V(double iNumber, std::int32_t iFacilityCode, MessageSink& sink) {
    return encodeVorta(LayoutId::F35V, iNumber, iFacilityCode, sink, nullptr, Limits::LowerOnly);
}

EncoderResult BitFormat36V(double iNumber, std::int32_t iFacilityCode, MessageSink& sink) {
    return encodeVorta(LayoutId::F36V, iNumber, iFacilityCode, sink, nullptr, Limits::LowerOnly);
}

}  // namespace reader

}  // namespace morvane
