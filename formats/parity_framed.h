#pragma once

#include <cstdint>

#include "formats/encoder_host.h"
#include "formats/encoder_result.h"

// The parity-framed encoders: 26, 34, 35 and 37 bits, and 37 bits without facility code.
// Each returns the significant octal digits of the prox data word (sentinel included where
// the format has one). The hotstamp arrives as a double and is taken as the nearest whole number.
namespace morvane {

// The window's set: after a range error the offending box is set to the limit.
EncoderResult BitFormat26(double iNumber, std::int32_t iFacilityCode, EncoderHost& host);
EncoderResult BitFormat34(double iNumber, std::int32_t iFacilityCode, EncoderHost& host);
EncoderResult BitFormat35(double iNumber, std::int32_t iFacilityCode, EncoderHost& host);
EncoderResult BitFormat37(double iNumber, std::int32_t iFacilityCode, EncoderHost& host);
EncoderResult BitFormat37NFC(double iNumber, EncoderHost& host);

// The reader path's set: the same limits and digits, but no box is ever written.
namespace reader {
EncoderResult BitFormat26(double iNumber, std::int32_t iFacilityCode, MessageSink& sink);
EncoderResult BitFormat34(double iNumber, std::int32_t iFacilityCode, MessageSink& sink);
EncoderResult BitFormat37(double iNumber, std::int32_t iFacilityCode, MessageSink& sink);
}  // namespace reader

}  // namespace morvane
