#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "formats/encoder_host.h"
#include "formats/prox_data_text.h"

// The Convert direction in one call: hotstamp text, card format code and facility code to the
// 16-digit octal prox data, the no-result value "????????????????", or the empty text.
namespace morvane {

// The window's calculation, its answer held in place rather than on the heap (the window calls
// it on every keystroke, a batch millions of times). Proxif and Casi read the facility code (and
// Proxif the version) from the host's boxes: an empty box counts as 0, other text that is not a
// number is reported. A box value beyond 32 bits raises NumericError 6 "Overflow" for the caller
// to show.
ProxDataText CalcProxData(std::string_view sSerialNo, std::string_view sCF, std::int32_t iFC,
                          EncoderHost& host);

struct Layout;

// The same calculation for a batch of hotstamps under one card format code and facility code:
// the format is looked up, and the facility code's part of the word made, once for the batch.
// Each answer and message is CalcProxData's; Proxif's and Casi's boxes are read once, so they
// must not change during the batch.
class ProxDataBatch {
  public:
    ProxDataBatch(std::string_view sCF, std::int32_t iFC, EncoderHost& host);
    ProxDataText operator()(std::string_view sSerialNo) const;

  private:
    std::string_view cardFormat_;
    std::int32_t facilityCode_;
    EncoderHost& host_;
    const Layout* layout_;
    // The word without its hotstamp, parity and sentinel when facility code and version are
    // within their limits; none sends every hotstamp the way CalcProxData goes.
    std::optional<std::uint64_t> valuesWord_;
};

// The reader path's twin for the codes a USB read produces: "26", "34", "35V", "36V" and "37"
// (always with facility code); everything else, "Casi" included, gives the no-result value.
std::string CalcProxDataUSB(std::string_view sSerialNo, std::string_view sCF, std::int32_t iFC,
                            MessageSink& sink);

// The messages the calculation shows itself.
inline constexpr std::string_view kInvalidSerialNumber = "Invalid Serial Number";
inline constexpr std::string_view kUndefinedFormat = "Undefined card format / facility code";
inline constexpr std::string_view kInvalidFacilityCode = "Invalid Facility Code";
inline constexpr std::string_view kInvalidVersion = "Invalid Version";

}  // namespace morvane
