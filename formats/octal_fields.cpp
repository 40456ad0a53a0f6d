#include "formats/octal_fields.h"

#include "formats/bits.h"
#include "formats/card_format.h"
#include "formats/numeric_text.h"
#include "formats/range_check.h"

namespace morvane {

EncoderResult BitFormatProxif(double iNumber, std::int32_t iFacilityCode, std::int32_t iVersion,
                              EncoderHost& host) {
    const Layout& l = layout(LayoutId::Proxif);
    const double hotstamp = roundHalfEven(iNumber);
    if (!passesRangeChecks(
            {{ValueBox::Hotstamp, hotstamp, l.hotstampLimit},
             {ValueBox::Facility, static_cast<double>(iFacilityCode), l.facilityLimit},
             {ValueBox::Version, static_cast<double>(iVersion), l.versionLimit}},
            host, &host)) {
        return std::nullopt;
    }
    std::string digits;
    digits.reserve(16);
    appendOctalField(digits, static_cast<std::uint64_t>(iVersion), 4);
    appendOctalField(digits, static_cast<std::uint64_t>(iFacilityCode), 5);
    appendOctalField(digits, static_cast<std::uint64_t>(hotstamp), 7);
    return digits;
}

EncoderResult BitFormatCasi(double iNumber, std::int32_t iFacilityCode, EncoderHost& host) {
    const Layout& l = layout(LayoutId::Casi);
    const double hotstamp = roundHalfEven(iNumber);
    if (!passesRangeChecks(
            {{ValueBox::Hotstamp, hotstamp, l.hotstampLimit},
             {ValueBox::Facility, static_cast<double>(iFacilityCode), l.facilityLimit}},
            host, &host)) {
        return std::nullopt;
    }
    // 64-bit arithmetic holds any hotstamp up to 2^32 - 1 whole, so no splitting is needed.
    std::string digits;
    digits.reserve(16);
    appendOctalField(digits, static_cast<std::uint64_t>(iFacilityCode), 4);
    appendOctalField(digits, static_cast<std::uint64_t>(hotstamp), 12);
    return digits;
}

}  // namespace morvane
