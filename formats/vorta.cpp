#include "formats/vorta.h"

#include "formats/bits.h"
#include "formats/card_format.h"
#include "formats/numeric_text.h"
#include "formats/range_check.h"

namespace morvane {

namespace {

std::uint64_t field(std::uint32_t value, int width, int low) {
    return (static_cast<std::uint64_t>(value) & bitRange(width - 1, 0)) << low;
}

bool isOdd(int count) { return count % 2 != 0; }

using WordBuilder = std::uint64_t (*)(std::uint32_t, std::uint32_t);

EncoderResult encodeVorta(LayoutId id, double iNumber, std::int32_t iFacilityCode,
                          MessageSink& sink, EncoderHost* boxes, bool upperLimits,
                          WordBuilder build, int digits) {
    const Layout& l = layout(id);
    const double hotstamp = roundHalfEven(iNumber);
    const auto limit = [&](std::optional<std::uint64_t> v) {
        return upperLimits ? v : std::nullopt;
    };
    if (!passesRangeChecks(
            {{ValueBox::Hotstamp, hotstamp, limit(l.hotstampLimit)},
             {ValueBox::Facility, static_cast<double>(iFacilityCode), limit(l.facilityLimit)}},
            sink, boxes)) {
        return std::nullopt;
    }
    // Non-negative by now; toInt32 raises Overflow for a reader-path hotstamp beyond 32 bits.
    const auto h = static_cast<std::uint32_t>(toInt32(hotstamp));
    const auto f = static_cast<std::uint32_t>(iFacilityCode);
    return octalField(build(h, f), digits);
}

}  // namespace

std::uint64_t word35V(std::uint32_t hotstamp, std::uint32_t facility) {
    // Bit 33 is the fixed 0; bit 17 counts in both groups.
    std::uint64_t v = field(hotstamp, 20, 1) | field(facility, 12, 21);
    const bool leadingOdd = isOdd(countOnes(v, bitRange(34, 17)));
    const bool trailingEven = !isOdd(countOnes(v, bitRange(17, 0)));
    if (leadingOdd) v |= bitAt(34);
    v |= bitAt(35);
    if (trailingEven) v |= 1;
    return v;
}

std::uint64_t word36V(std::uint32_t hotstamp, std::uint32_t facility) {
    // The facility field is written 13 bits wide, its top bit landing on the leading parity
    // place (bit 35); the leading group is counted over bits 36..19 before that place is
    // overwritten. Within the limit 4095 that bit is 0. Bit 18 is in neither group.
    std::uint64_t v = field(hotstamp, 21, 2) | bitAt(1) | field(facility, 13, 23);
    const bool leadingOdd = isOdd(countOnes(v, bitRange(36, 19)));
    const bool trailingEven = !isOdd(countOnes(v, bitRange(17, 0)));
    v = (v & ~bitAt(35)) | (leadingOdd ? bitAt(35) : 0);
    if (trailingEven) v |= 1;
    return v;
}

std::uint64_t word37V(std::uint32_t hotstamp, std::uint32_t facility) {
    // Bit 18 counts in both groups, as in the 37-bit format.
    std::uint64_t v = field(hotstamp, 19, 1) | field(facility, 16, 20);
    const bool leadingOdd = isOdd(countOnes(v, bitRange(36, 18)));
    const bool trailingEven = !isOdd(countOnes(v, bitRange(18, 0)));
    if (leadingOdd) v |= bitAt(36);
    if (trailingEven) v |= 1;
    return v;
}

EncoderResult BitFormat35V(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeVorta(LayoutId::F35V, iNumber, iFacilityCode, host, &host, true, word35V, 12);
}

EncoderResult BitFormat36V(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeVorta(LayoutId::F36V, iNumber, iFacilityCode, host, &host, true, word36V, 12);
}

EncoderResult BitFormat37V(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeVorta(LayoutId::F37V, iNumber, iFacilityCode, host, &host, true, word37V, 13);
}

namespace reader {

EncoderResult BitFormat35V(double iNumber, std::int32_t iFacilityCode, MessageSink& sink) {
    return encodeVorta(LayoutId::F35V, iNumber, iFacilityCode, sink, nullptr, false, word35V, 12);
}

EncoderResult BitFormat36V(double iNumber, std::int32_t iFacilityCode, MessageSink& sink) {
    return encodeVorta(LayoutId::F36V, iNumber, iFacilityCode, sink, nullptr, false, word36V, 12);
}

}  // namespace reader

}  // namespace morvane
