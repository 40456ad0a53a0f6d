#pragma once

#include <cstdint>

#include "formats/encoder_host.h"
#include "formats/encoder_result.h"

// Proxif and Casi: no parity and no sentinel; the 16 prox data digits are joined octal fields.
namespace morvane {

// Version 4 digits, facility code 5, hotstamp 7.
EncoderResult BitFormatProxif(double iNumber, std::int32_t iFacilityCode, std::int32_t iVersion,
                              EncoderHost& host);
// Facility code 4 digits, hotstamp 12.
EncoderResult BitFormatCasi(double iNumber, std::int32_t iFacilityCode, EncoderHost& host);

}  // namespace morvane
