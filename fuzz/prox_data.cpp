// The Convert direction with whatever a person or a calling program may type: the hotstamp text,
// the card format code, the facility code and the facility and version boxes that Proxif and Casi
// read. Input: five lines, in that order; the facility code line is read as the window reads its
// box into the facility code, and counts as 0 when it is no 32-bit number.
//
// Beyond "no crash": the result is one of the three forms of prox data, every message and box
// write fits the result, prox data splits back into the values it was made from, and the reader
// path's twin agrees with the window wherever both give prox data.
#include "formats/prox_data.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>
#include <vector>

#include "formats/card_format.h"
#include "formats/numeric_error.h"
#include "formats/numeric_text.h"
#include "formats/split_catalogue.h"
#include "formats/split_data.h"
#include "fuzz/fuzz_support.h"
#include "support/recording_host.h"

namespace {

using namespace morvane;

constexpr std::array<std::string_view, 9> kKnownCodes{"26",  "34", "35",     "35V", "36V",
                                                      "37V", "37", "Proxif", "Casi"};
constexpr std::array<std::string_view, 5> kReaderCodes{"26", "34", "35V", "36V", "37"};

template <std::size_t N>
bool isOneOf(std::string_view code, const std::array<std::string_view, N>& codes) {
    return std::find(codes.begin(), codes.end(), code) != codes.end();
}

bool isProxData(std::string_view text) {
    return text.size() == static_cast<std::size_t>(kProxDataDigits) && fuzz::isOctalDigits(text);
}

bool isOneOfTheThreeForms(std::string_view result) {
    return result.empty() || result == kNoResult || isProxData(result);
}

std::int32_t facilityCodeOf(std::string_view line) {
    try {
        return textToInt32(line);
    } catch (const NumericError&) {
        return 0;
    }
}

// A Proxif or Casi box as the calculation reads it, once it has given prox data.
std::int64_t boxNumber(std::string_view box) {
    if (trimSpaces(box).empty()) return 0;
    return toInt32(*parseNumber(box));
}

// The calculation's own messages, or a range message: "Hotstamp 70000 is too large. 65535 is
// max." with the value as messages show numbers. A box set after a range message holds the limit.
void checkMessage(const test::RecordingHost& host) {
    if (host.messages.empty()) return;
    std::string_view m = host.messages[0];
    if (m == kInvalidSerialNumber || m == kUndefinedFormat || m == kInvalidFacilityCode ||
        m == kInvalidVersion) {
        FUZZ_CHECK(host.wroteNoBox());
        return;
    }
    const std::vector<std::string>* writes = nullptr;
    for (const auto& [head, boxWrites] : {std::pair{"Hotstamp ", &host.hotstampWrites},
                                          std::pair{"Facility Code ", &host.facilityWrites},
                                          std::pair{"Version ", &host.versionWrites}}) {
        if (m.starts_with(head)) {
            writes = boxWrites;
            m.remove_prefix(std::string_view(head).size());
        }
    }
    FUZZ_CHECK(writes != nullptr);
    const auto large = m.find(" is too large. ");
    if (large == std::string_view::npos) {
        FUZZ_CHECK(m.ends_with(" is too small. 0 is min.") && host.wroteNoBox());
        FUZZ_CHECK(m.front() == '-');
        return;
    }
    FUZZ_CHECK(IsNumeric(m.substr(0, large)));
    m.remove_prefix(large + std::string_view(" is too large. ").size());
    FUZZ_CHECK(m.ends_with(" is max."));
    const std::string_view limit = m.substr(0, m.size() - std::string_view(" is max.").size());
    FUZZ_CHECK(fuzz::isPlainWholeNumber(limit));
    FUZZ_CHECK(writes->size() == 1 && (*writes)[0] == limit);
}

const SplitColumn& columnOf(std::string_view code) {
    const auto columns = splitColumns();
    return *std::find_if(columns.begin(), columns.end(),
                         [&](const SplitColumn& c) { return layout(c.layout).code == code; });
}

// Prox data made from these values shows them again in its own Split Data column.
void checkSplitsBack(std::string_view proxData, std::string_view code, std::uint64_t hotstamp,
                     std::int64_t facility, std::int64_t version) {
    const SplitResult split = SplitData(proxData);
    const SplitColumn& column = columnOf(code);
    FUZZ_CHECK(split.matches(column.id));
    for (std::size_t row = 0; row < kGridRowCount; ++row) {
        if (!column.fields[row].present()) continue;
        const std::string shown = cellText(split, column.id, static_cast<GridRow>(row));
        switch (static_cast<GridRow>(row)) {
            case GridRow::Hotstamp:
                if (code != "37" || facility != 0) FUZZ_CHECK(shown == std::to_string(hotstamp));
                break;
            case GridRow::Facility:
                if (code != "37" || facility != 0) FUZZ_CHECK(shown == std::to_string(facility));
                break;
            case GridRow::Version:
                FUZZ_CHECK(shown == std::to_string(version));
                break;
            case GridRow::NoFacility:
                FUZZ_CHECK(shown ==
                           std::to_string(static_cast<std::uint64_t>(facility) << 19 | hotstamp));
                break;
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto in = fuzz::lines(fuzz::asText(data, size), 5);
    const std::string_view hotstampText = in[0];
    const std::string_view code = in[1];
    const std::int32_t iFC = facilityCodeOf(in[2]);

    test::RecordingHost host;
    host.facility = in[3];
    host.version = in[4];
    std::string result;
    bool overflow = false;
    try {
        result = CalcProxData(hotstampText, code, iFC, host);
    } catch (const NumericError& e) {
        // Only a Proxif or Casi box beyond 32 bits overflows; the window shows "6 Overflow".
        FUZZ_CHECK(e.number() == kErrorOverflow);
        FUZZ_CHECK(code == "Proxif" || code == "Casi");
        overflow = true;
    }

    const std::size_t boxWrites =
        host.hotstampWrites.size() + host.facilityWrites.size() + host.versionWrites.size();
    FUZZ_CHECK(isOneOfTheThreeForms(result));
    FUZZ_CHECK(host.messages.size() <= 1 && boxWrites <= host.messages.size());
    if (hotstampText.empty()) {
        FUZZ_CHECK(result.empty() && host.messages.empty() && !overflow);
    }
    if (!overflow && result.empty() && !hotstampText.empty()) {
        FUZZ_CHECK(host.messages.size() == 1 && boxWrites == 0);
        FUZZ_CHECK(host.messages[0] == kInvalidSerialNumber ||
                   host.messages[0] == kUndefinedFormat);
    }
    if (result == kNoResult) {
        FUZZ_CHECK(host.messages.size() == (isOneOf(code, kKnownCodes) ? 1U : 0U));
    }
    checkMessage(host);

    std::optional<double> hotstamp;
    if (isProxData(result)) {
        FUZZ_CHECK(host.messages.empty() && boxWrites == 0);
        hotstamp = parseNumber(hotstampText);
        FUZZ_CHECK(hotstamp && *hotstamp >= 0 && *hotstamp == std::floor(*hotstamp));
        const bool fromBoxes = code == "Proxif" || code == "Casi";
        checkSplitsBack(result, code, static_cast<std::uint64_t>(*hotstamp),
                        fromBoxes ? boxNumber(host.facility) : iFC,
                        code == "Proxif" ? boxNumber(host.version) : 0);
    }

    // The reader path: never a box, at most one message, and the window's prox data wherever
    // both apply (the window alone drops the facility code of a 37-bit card with code 0).
    test::RecordingHost sink;
    // It throws nothing: a Vorta hotstamp beyond 32 bits, which the reader path does not
    // check, is its "6 Overflow" message.
    const std::string usbResult = CalcProxDataUSB(hotstampText, code, iFC, sink);
    FUZZ_CHECK(isOneOfTheThreeForms(usbResult));
    FUZZ_CHECK(sink.wroteNoBox() && sink.messages.size() <= 1);
    if (!isOneOf(code, kReaderCodes) && !usbResult.empty()) FUZZ_CHECK(usbResult == kNoResult);
    if (isProxData(result) && isOneOf(code, kReaderCodes) && !(code == "37" && iFC == 0)) {
        FUZZ_CHECK(usbResult == result);
    }
    return 0;
}
