#include "formats/parity_framed.h"

#include "formats/bits.h"
#include "formats/card_format.h"
#include "formats/numeric_text.h"
#include "formats/range_check.h"

namespace morvane {

namespace {

bool isEven(int count) { return count % 2 == 0; }

constexpr std::uint64_t everyThirdSkipped(int high, int low, int skip) {
    std::uint64_t m = 0;
    for (int p = low; p <= high; ++p) {
        if (p % 3 != skip) m |= bitAt(p);
    }
    return m;
}

// Two parity bits over split halves. Both counts are taken from the frame before either parity
// bit is set; for 37 bits the halves overlap at bit 18, which both count.
std::uint64_t twoParity(std::uint64_t v, std::uint64_t oddGroup, std::uint64_t evenGroup,
                        int leadingBit, int sentinelBit) {
    const bool lowEven = isEven(countOnes(v, oddGroup));
    const bool highOdd = !isEven(countOnes(v, evenGroup));
    if (lowEven) v |= 1;
    if (highOdd) v |= bitAt(leadingBit);
    if (sentinelBit >= 0) v |= bitAt(sentinelBit);
    return v;
}

template <typename Host>
EncoderResult encodeChecked(LayoutId id, double iNumber, std::int32_t iFacilityCode, Host& host,
                            EncoderHost* boxes,
                            std::uint64_t (*build)(std::uint64_t, std::uint64_t)) {
    const Layout& l = layout(id);
    const double hotstamp = roundHalfEven(iNumber);
    if (!passesRangeChecks(
            {{ValueBox::Hotstamp, hotstamp, l.hotstampLimit},
             {ValueBox::Facility, static_cast<double>(iFacilityCode), l.facilityLimit}},
            host, boxes)) {
        return std::nullopt;
    }
    // Both values now lie between 0 and their limit, so the conversions are exact.
    return significantOctal(
        build(static_cast<std::uint64_t>(hotstamp), static_cast<std::uint64_t>(iFacilityCode)));
}

}  // namespace

std::uint64_t word26(std::uint64_t hotstamp, std::uint64_t facility) {
    return twoParity(hotstamp << 1 | facility << 17, bitRange(12, 0), bitRange(25, 13), 25, 26);
}

std::uint64_t word34(std::uint64_t hotstamp, std::uint64_t facility) {
    return twoParity(hotstamp << 1 | facility << 21, bitRange(16, 0), bitRange(33, 17), 33, 34);
}

std::uint64_t word37(std::uint64_t hotstamp, std::uint64_t facility) {
    return twoParity(hotstamp << 1 | facility << 20, bitRange(18, 0), bitRange(35, 18), 36, -1);
}

std::uint64_t word37NFC(std::uint64_t hotstamp) {
    return twoParity(hotstamp << 1, bitRange(18, 0), bitRange(35, 18), 36, -1);
}

std::uint64_t word35(std::uint64_t hotstamp, std::uint64_t facility) {
    // Three interleaved groups, each counted on the word as the previous step left it.
    constexpr std::uint64_t notMod3Is0 = everyThirdSkipped(34, 0, 0);
    constexpr std::uint64_t notMod3Is1 = everyThirdSkipped(34, 0, 1);
    std::uint64_t v = hotstamp << 1 | facility << 21;
    if (!isEven(countOnes(v, notMod3Is0))) v |= bitAt(33);
    if (isEven(countOnes(v, notMod3Is1))) v |= 1;
    if (isEven(countOnes(v, bitRange(33, 0)))) v |= bitAt(34);
    return v | bitAt(35);
}

EncoderResult BitFormat26(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeChecked(LayoutId::F26, iNumber, iFacilityCode, host, &host, word26);
}

EncoderResult BitFormat34(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeChecked(LayoutId::F34, iNumber, iFacilityCode, host, &host, word34);
}

EncoderResult BitFormat35(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeChecked(LayoutId::F35, iNumber, iFacilityCode, host, &host, word35);
}

EncoderResult BitFormat37(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    return encodeChecked(LayoutId::F37, iNumber, iFacilityCode, host, &host, word37);
}

EncoderResult BitFormat37NFC(double iNumber, EncoderHost& host) {
    const Layout& l = layout(LayoutId::F37NFC);
    const double hotstamp = roundHalfEven(iNumber);
    if (!passesRangeChecks({{ValueBox::Hotstamp, hotstamp, l.hotstampLimit}}, host, &host)) {
        return std::nullopt;
    }
    return significantOctal(word37NFC(static_cast<std::uint64_t>(hotstamp)));
}

namespace reader {

EncoderResult BitFormat26(double iNumber, std::int32_t iFacilityCode, MessageSink& sink) {
    return encodeChecked(LayoutId::F26, iNumber, iFacilityCode, sink, nullptr, word26);
}

EncoderResult BitFormat34(double iNumber, std::int32_t iFacilityCode, MessageSink& sink) {
    return encodeChecked(LayoutId::F34, iNumber, iFacilityCode, sink, nullptr, word34);
}

EncoderResult BitFormat37(double iNumber, std::int32_t iFacilityCode, MessageSink& sink) {
    return encodeChecked(LayoutId::F37, iNumber, iFacilityCode, sink, nullptr, word37);
}

}  // namespace reader

}  // namespace morvane
