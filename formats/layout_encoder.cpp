#include "formats/layout_encoder.h"

#include <array>

#include "formats/frame_word.h"
#include "formats/numeric_text.h"
#include "formats/range_check.h"

namespace morvane {

namespace {

std::optional<std::uint64_t> upper(std::optional<std::uint64_t> limit, Limits limits) {
    return limits == Limits::Upper ? limit : std::nullopt;
}

// The reader path writes the 36-bit Vorta facility one bit wider than its field, so that bit
// lands on the leading parity place, is counted with its group and then overwritten.
std::uint64_t spilledFacilityBit(const Layout& l, std::uint64_t facility, Limits limits) {
    if (l.id != LayoutId::F36V || limits != Limits::LowerOnly) return 0;
    return placed(Field{l.facility.low, l.facility.width + 1}, facility) & ~l.facility.mask();
}

}  // namespace

std::optional<std::uint64_t> encodeWord(const Layout& l, const EncoderValues& values,
                                        MessageSink& sink, EncoderHost* boxes, Limits limits) {
    std::array<RangeCheck, 3> checks{};
    std::size_t n = 0;
    checks[n++] = {ValueBox::Hotstamp, values.hotstamp, upper(l.hotstampLimit, limits)};
    if (l.facility.present()) {
        checks[n++] = {ValueBox::Facility, static_cast<double>(values.facility),
                       upper(l.facilityLimit, limits)};
    }
    if (l.version.present()) {
        checks[n++] = {ValueBox::Version, static_cast<double>(values.version),
                       upper(l.versionLimit, limits)};
    }
    if (!passesRangeChecks(std::span(checks.data(), n), sink, boxes)) return std::nullopt;
    // Every value now lies between 0 and its limit; without limits toInt32 raises Overflow for a
    // hotstamp beyond 32 bits.
    const std::uint64_t hotstamp =
        limits == Limits::Upper ? static_cast<std::uint64_t>(values.hotstamp)
                                : static_cast<std::uint32_t>(toInt32(values.hotstamp));
    const auto facility = static_cast<std::uint64_t>(values.facility);
    return frameWord(l, hotstamp, facility, static_cast<std::uint64_t>(values.version),
                     spilledFacilityBit(l, facility, limits));
}

}  // namespace morvane
