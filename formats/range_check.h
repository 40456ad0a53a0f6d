#pragma once

#include <cstdint>
#include <optional>

#include "formats/encoder_host.h"

// The encoders' value checks: each value against its format's limit, in order, the first
// failure reported ("Hotstamp 70000 is too large. 65535 is max.") and the rest not made.
namespace morvane {

enum class ValueBox { Hotstamp, Facility, Version };

// Shows why the value fails its check and, when `boxes` is given and the value was too large,
// sets the offending box to the limit's text.
void reportRangeError(ValueBox box, double value, std::optional<std::uint64_t> limit,
                      MessageSink& sink, EncoderHost* boxes);

// True when the value lies between 0 and the limit (none: no upper limit); a NaN fails.
inline bool passesRangeCheck(ValueBox box, double value, std::optional<std::uint64_t> limit,
                             MessageSink& sink, EncoderHost* boxes) {
    if (value >= 0 && (!limit || value <= static_cast<double>(*limit))) return true;
    reportRangeError(box, value, limit, sink, boxes);
    return false;
}

}  // namespace morvane
