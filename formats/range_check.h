#pragma once

#include <cstdint>
#include <optional>
#include <span>

#include "formats/encoder_host.h"

// The encoders' value checks: each value against its format's limit, in order, the first
// failure reported ("Hotstamp 70000 is too large. 65535 is max.") and the rest not made.
namespace morvane {

enum class ValueBox { Hotstamp, Facility, Version };

struct RangeCheck {
    ValueBox box;
    double value;
    std::optional<std::uint64_t> limit;  // none: no upper limit
};

// True when every value passes. Otherwise the message is shown and, when `boxes` is given and
// the value was too large, the offending box is set to the limit's text.
bool passesRangeChecks(std::span<const RangeCheck> checks, MessageSink& sink,
                       EncoderHost* boxes);

}  // namespace morvane
