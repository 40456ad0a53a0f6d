#pragma once

#include <cstdint>
#include <optional>

#include "formats/card_format.h"
#include "formats/encoder_host.h"

// Every encoder's steps once: the values against the layout's limits, then the word from the
// layout. The per-format encoders only choose the layout and how many digits they give.
namespace morvane {

struct EncoderValues {
    double hotstamp;  // a whole number
    std::int32_t facility = 0;
    std::int32_t version = 0;
};

enum class Limits {
    Upper,      // the window's set: every field's limit
    LowerOnly,  // the reader path's Vorta twins: negative values only; the hotstamp must fit 32 bits
};

// The prox data word, or no value after a range error (shown, and with `boxes` the offending
// box set to its limit). Fields the layout lacks are neither checked nor written.
std::optional<std::uint64_t> encodeWord(const Layout& l, const EncoderValues& values,
                                        MessageSink& sink, EncoderHost* boxes,
                                        Limits limits = Limits::Upper);

}  // namespace morvane
