#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "formats/card_format.h"
#include "formats/encoder_host.h"

// The encoders of every card format in one: the values against the layout's limits, then the
// word from the layout. What a format does differently is data in its layout; only the reader
// path's Vorta twins take other limits.
namespace morvane {

struct EncoderValues {
    double hotstamp;  // a whole number
    std::int32_t facility = 0;
    std::int32_t version = 0;
};

enum class Limits {
    Upper,      // the window's set: every field's limit
    LowerOnly,  // the reader path's Vorta twins: no negative value, a hotstamp within 32 bits
};

// The prox data word, or no value after a range error (shown, and with `boxes` the offending
// box set to its limit) or a hotstamp the reader path cannot place (shown as "6 Overflow").
// Fields the layout lacks are neither checked nor written. Never throws.
std::optional<std::uint64_t> encodeWord(const Layout& l, const EncoderValues& values,
                                        MessageSink& sink, EncoderHost* boxes,
                                        Limits limits = Limits::Upper);

// Whether whole, non-negative values lie within every limit of the layout's fields: the
// integer path that lets a plain hotstamp skip the checks' messages and arithmetic in doubles.
constexpr bool withinAllLimits(const Layout& l, std::uint64_t hotstamp, std::int64_t facility,
                               std::int64_t version) {
    const auto fits = [](Field field, std::int64_t value, std::optional<std::uint64_t> limit) {
        return !field.present() ||
               (value >= 0 && (!limit || static_cast<std::uint64_t>(value) <= *limit));
    };
    return hotstamp <= l.hotstampLimit && fits(l.facility, facility, l.facilityLimit) &&
           fits(l.version, version, l.versionLimit);
}

}  // namespace morvane
