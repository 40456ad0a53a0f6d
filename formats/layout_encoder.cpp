#include "formats/layout_encoder.h"

#include "formats/frame_word.h"
#include "formats/numeric_error.h"
#include "formats/numeric_text.h"
#include "formats/range_check.h"

namespace morvane {

namespace {

std::optional<std::uint64_t> upper(std::optional<std::uint64_t> limit, Limits limits) {
    return limits == Limits::Upper ? limit : std::nullopt;
}

// The facility bits a reader twin writes above its field.
std::uint64_t spilledFacilityBits(const Layout& l, std::uint64_t facility, Limits limits) {
    if (limits != Limits::LowerOnly) return 0;
    const Field wider{l.facility.low, l.facility.width + l.readerFacilitySpill};
    return placed(wider, facility) & ~l.facility.mask();
}

bool passesEveryCheck(const Layout& l, const EncoderValues& values, MessageSink& sink,
                      EncoderHost* boxes, Limits limits) {
    const auto passes = [&](ValueBox box, Field field, double value, auto limit) {
        return !field.present() || passesRangeCheck(box, value, upper(limit, limits), sink, boxes);
    };
    return passes(ValueBox::Hotstamp, l.hotstamp, values.hotstamp, l.hotstampLimit) &&
           passes(ValueBox::Facility, l.facility, values.facility, l.facilityLimit) &&
           passes(ValueBox::Version, l.version, values.version, l.versionLimit);
}

// Every value now lies between 0 and its limit. Without upper limits the reader path's Vorta
// twins place the hotstamp as a 32-bit whole number, which a larger one does not fit: the
// window's "6 Overflow", shown like a range message.
std::optional<std::uint64_t> hotstampBits(double hotstamp, Limits limits, MessageSink& sink) {
    if (limits == Limits::Upper) return static_cast<std::uint64_t>(hotstamp);
    const auto fitted = fitInt32(hotstamp);
    if (!fitted) {
        sink.showMessage(overflowError().text());
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(*fitted);
}

}  // namespace

std::optional<std::uint64_t> encodeWord(const Layout& l, const EncoderValues& values,
                                        MessageSink& sink, EncoderHost* boxes, Limits limits) {
    if (!passesEveryCheck(l, values, sink, boxes, limits)) return std::nullopt;
    const auto hotstamp = hotstampBits(values.hotstamp, limits, sink);
    if (!hotstamp) return std::nullopt;
    const auto facility = static_cast<std::uint64_t>(values.facility);
    return frameWord(l, *hotstamp, facility, static_cast<std::uint64_t>(values.version),
                     spilledFacilityBits(l, facility, limits));
}

}  // namespace morvane
