#include "formats/layout_encoder.h"

#include <array>
#include <bit>
#include <cstring>

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

// 24 bits as eight octal digit characters, most significant first, all at once: each 3-bit
// group moved into a byte of its own, the bytes put in reading order, '0' added to each.
std::uint64_t octalCharacters(std::uint64_t bits) {
    bits = (bits & 0xFFFU) | ((bits & 0xFFF000U) << 20);
    bits = (bits & 0x0000003F0000003FU) | ((bits & 0x00000FC000000FC0U) << 10);
    bits = (bits & 0x0007000700070007U) | ((bits & 0x0038003800380038U) << 5);
    return __builtin_bswap64(bits) + 0x3030303030303030U;
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

// Values within every limit, tested in integers first: the common case needs nothing else.
bool plainlyWithinLimits(const Layout& l, const EncoderValues& values, Limits limits) {
    return limits == Limits::Upper && values.hotstamp >= 0 &&
           values.hotstamp <= static_cast<double>(l.hotstampLimit) &&
           withinAllLimits(l, static_cast<std::uint64_t>(values.hotstamp), values.facility,
                           values.version);
}

}  // namespace

std::optional<std::uint64_t> encodeWord(const Layout& l, const EncoderValues& values,
                                        MessageSink& sink, EncoderHost* boxes, Limits limits) {
    if (!plainlyWithinLimits(l, values, limits) &&
        !passesEveryCheck(l, values, sink, boxes, limits)) {
        return std::nullopt;
    }
    // Every value now lies between 0 and its limit; without limits toInt32 raises Overflow for a
    // hotstamp beyond 32 bits.
    const std::uint64_t hotstamp =
        limits == Limits::Upper ? static_cast<std::uint64_t>(values.hotstamp)
                                : static_cast<std::uint32_t>(toInt32(values.hotstamp));
    const auto facility = static_cast<std::uint64_t>(values.facility);
    return frameWord(l, hotstamp, facility, static_cast<std::uint64_t>(values.version),
                     spilledFacilityBit(l, facility, limits));
}

std::string proxDataText(std::uint64_t word) {
    static_assert(std::endian::native == std::endian::little);
    const std::array<std::uint64_t, 2> halves{octalCharacters(word >> 24 & 0xFFFFFFU),
                                              octalCharacters(word & 0xFFFFFFU)};
    std::array<char, kProxDataDigits> text{};
    std::memcpy(text.data(), halves.data(), text.size());
    return std::string(text.data(), text.size());
}

}  // namespace morvane
