#pragma once

#include <cstdint>

#include "formats/encoder_host.h"
#include "formats/encoder_result.h"

// The Vorta ID encoders (35V, 36V, 37V). Their digits keep leading zeros: 12 digits for 35V and
// 36V, 13 for 37V. Hotstamp and facility code are taken as 32-bit whole numbers and only the
// bits of their fields are written.
namespace morvane {

EncoderResult BitFormat35V(double iNumber, std::int32_t iFacilityCode, EncoderHost& host);
EncoderResult BitFormat36V(double iNumber, std::int32_t iFacilityCode, EncoderHost& host);
EncoderResult BitFormat37V(double iNumber, std::int32_t iFacilityCode, EncoderHost& host);

// The reader path's twins: no upper limits, no box written; a negative value is still refused
// and a hotstamp beyond 32 bits raises NumericError 6 "Overflow".
namespace reader {
EncoderResult BitFormat35V(double iNumber, std::int32_t iFacilityCode, MessageSink& sink);
EncoderResult BitFormat36V(double iNumber, std::int32_t iFacilityCode, MessageSink& sink);
}  // namespace reader

}  // namespace morvane
