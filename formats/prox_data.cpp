#include "formats/prox_data.h"

#include <cmath>
#include <optional>

#include "formats/card_format.h"
#include "formats/encoder_result.h"
#include "formats/numeric_text.h"
#include "formats/octal_fields.h"
#include "formats/parity_framed.h"
#include "formats/vorta.h"

namespace morvane {

namespace {

// Steps shared by both calculations: the empty text, the hotstamp test, the format test.
// A hotstamp must be a whole number of at least 0; "-5" and "1.5" are not hotstamps.
std::optional<double> hotstampOf(std::string_view sSerialNo, std::string_view sCF,
                                 MessageSink& sink) {
    if (sSerialNo.empty()) return std::nullopt;
    const auto value = parseNumber(sSerialNo);
    if (!value || *value < 0 || *value != std::floor(*value)) {
        sink.showMessage(kInvalidSerialNumber);
        return std::nullopt;
    }
    if (sCF.empty()) {
        sink.showMessage(kUndefinedFormat);
        return std::nullopt;
    }
    return *value + 0.0;  // folds -0 into 0
}

std::string padded(EncoderResult&& digits) {
    if (!digits) return std::string(kNoResult);
    if (digits->size() >= static_cast<std::size_t>(kProxDataDigits)) return std::move(*digits);
    std::string text;
    text.reserve(kProxDataDigits);
    text.append(kProxDataDigits - digits->size(), '0');
    text.append(*digits);
    return text;
}

// A Proxif or Casi box read as a whole number: empty counts as 0; other text that is not a
// number is reported and stops the calculation.
std::optional<std::int32_t> boxValue(const std::string& text, std::string_view invalidMessage,
                                     MessageSink& sink) {
    if (trimSpaces(text).empty()) return 0;
    const auto value = parseNumber(text);
    if (!value) {
        sink.showMessage(invalidMessage);
        return std::nullopt;
    }
    return toInt32(*value);
}

}  // namespace

std::string CalcProxData(std::string_view sSerialNo, std::string_view sCF, std::int32_t iFC,
                         EncoderHost& host) {
    const auto hotstamp = hotstampOf(sSerialNo, sCF, host);
    if (!hotstamp) return {};
    const double h = *hotstamp;
    if (sCF == "26") return padded(BitFormat26(h, iFC, host));
    if (sCF == "34") return padded(BitFormat34(h, iFC, host));
    if (sCF == "35") return padded(BitFormat35(h, iFC, host));
    if (sCF == "35V") return padded(BitFormat35V(h, iFC, host));
    if (sCF == "36V") return padded(BitFormat36V(h, iFC, host));
    if (sCF == "37V") return padded(BitFormat37V(h, iFC, host));
    if (sCF == "37") {
        return padded(iFC == 0 ? BitFormat37NFC(h, host) : BitFormat37(h, iFC, host));
    }
    if (sCF == "Proxif") {
        const auto facility = boxValue(host.facilityBox(), kInvalidFacilityCode, host);
        if (!facility) return std::string(kNoResult);
        const auto version = boxValue(host.versionBox(), kInvalidVersion, host);
        if (!version) return std::string(kNoResult);
        return padded(BitFormatProxif(h, *facility, *version, host));
    }
    if (sCF == "Casi") {
        const auto facility = boxValue(host.facilityBox(), kInvalidFacilityCode, host);
        if (!facility) return std::string(kNoResult);
        return padded(BitFormatCasi(h, *facility, host));
    }
    return std::string(kNoResult);
}

std::string CalcProxDataUSB(std::string_view sSerialNo, std::string_view sCF, std::int32_t iFC,
                            MessageSink& sink) {
    const auto hotstamp = hotstampOf(sSerialNo, sCF, sink);
    if (!hotstamp) return {};
    const double h = *hotstamp;
    if (sCF == "26") return padded(reader::BitFormat26(h, iFC, sink));
    if (sCF == "34") return padded(reader::BitFormat34(h, iFC, sink));
    if (sCF == "35V") return padded(reader::BitFormat35V(h, iFC, sink));
    if (sCF == "36V") return padded(reader::BitFormat36V(h, iFC, sink));
    if (sCF == "37") return padded(reader::BitFormat37(h, iFC, sink));
    return std::string(kNoResult);
}

}  // namespace morvane
