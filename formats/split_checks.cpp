#include "formats/split_checks.h"

#include "formats/card_format.h"
#include "formats/frame_word.h"

namespace morvane {

namespace {

// The first bit that must be 0: the one above the sentinel, or above the frame.
int topOf(const Layout& l) { return l.sentinelBit >= 0 ? l.sentinelBit + 1 : l.frameBits; }

std::uint64_t markerBits(const Layout& l) {
    return l.fixedOnes | (l.sentinelBit >= 0 ? bitAt(l.sentinelBit) : 0);
}

// A parity-framed credential: long enough to hold its frame and sentinel, its sentinel (or
// fixed 1) set, no 1 above it, and every parity group complete.
bool isFramed(const Layout& l, CardWord w) {
    const int top = topOf(l);
    const std::uint64_t marker = markerBits(l);
    return w.length >= top && (w.bits & marker) == marker && (w.bits >> top) == 0 &&
           parityHolds(l, w.bits);
}

// Proxif and Casi carry no parity: the card data fills the whole word and every field lies
// within its limit.
bool withinLimits(Field field, std::optional<std::uint64_t> limit, std::uint64_t bits) {
    return !field.present() || !limit || (bits & field.mask()) >> field.low <= *limit;
}

bool isFieldsOnly(LayoutId id, CardWord w) {
    const Layout& l = layout(id);
    return w.length >= l.frameBits && withinLimits(l.hotstamp, l.hotstampLimit, w.bits) &&
           withinLimits(l.facility, l.facilityLimit, w.bits) &&
           withinLimits(l.version, l.versionLimit, w.bits);
}

}  // namespace

bool IsFormat26(CardWord w) { return isFramed(layout(LayoutId::F26), w); }
bool IsFormat34(CardWord w) { return isFramed(layout(LayoutId::F34), w); }
bool IsFormat35V(CardWord w) { return isFramed(layout(LayoutId::F35V), w); }
bool IsFormat36V(CardWord w) { return isFramed(layout(LayoutId::F36V), w); }
bool IsFormat37V(CardWord w) { return isFramed(layout(LayoutId::F37V), w); }
bool IsFormat37(CardWord w) { return isFramed(layout(LayoutId::F37), w); }
bool IsFormatProxif(CardWord w) { return isFieldsOnly(LayoutId::Proxif, w); }
bool IsFormatCasi(CardWord w) { return isFieldsOnly(LayoutId::Casi, w); }

// The 35-bit rules read only the frame behind the sentinel; nothing above it is looked at.
bool IsFormat35(CardWord w) {
    const Layout& l = layout(LayoutId::F35);
    return w.length >= topOf(l) && (w.bits & markerBits(l)) == markerBits(l) &&
           parityHolds(l, w.bits);
}

}  // namespace morvane
