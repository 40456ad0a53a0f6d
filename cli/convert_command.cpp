#include "cli/convert_command.h"

#include <cstdio>
#include <string_view>

#include "cli/explain_output.h"
#include "cli/hotstamp_range.h"
#include "cli/line_io.h"
#include "formats/card_format.h"
#include "formats/numeric_text.h"
#include "formats/convert_rows.h"
#include "formats/numeric_error.h"
#include "formats/prox_data.h"

namespace morvane::cli {

namespace {

// The calculation gives 16 octal digits, the no-result value or the empty text.
bool isProxData(std::string_view text) {
    return text.size() == static_cast<std::size_t>(kProxDataDigits) && text != kNoResult;
}

// The facility code the window's state would hold; a usage error when it is none.
std::optional<std::int32_t> facilityCodeOf(const std::string& text) {
    const auto number = parseNumber(text);
    const auto fitted = number ? fitInt32(*number) : std::nullopt;
    if (!fitted) {
        std::fprintf(stderr, "morvane-cli: --facility \"%s\": %s\n", text.c_str(),
                     number ? overflowError().text().c_str() : "not a number");
    }
    return fitted;
}

// The range, when one is given and it is sound; false for a usage error.
bool rangeOf(const ConvertOptions& options, std::int32_t facilityCode,
             std::optional<HotstampRange>& range) {
    if (options.range.empty()) return true;
    std::string why;
    range = parseHotstampRange(options.range, *builtLayout(options.format, facilityCode), why);
    if (!range)
        std::fprintf(stderr, "morvane-cli: --range \"%s\": %s\n", options.range.c_str(),
                     why.c_str());
    return range.has_value();
}

// The frame under its prox data, as --explain shows it.
void writeExplanation(OutputBuffer& out, std::string_view proxData, const Layout& l) {
    std::string frame = explainBuilt(proxData, l);
    frame.pop_back();  // line() ends it
    out.line(frame);
}

void writeCsvRow(OutputBuffer& out, const InputLine& hotstamp, const ConvertOptions& options,
                 std::string_view proxData, const std::string& messages) {
    out.lineWith([&](std::string& line) {
        appendConvertCsvRow(line, {hotstamp.text, options.format, options.facility,
                                   options.version, proxData, messages});
    });
}

}  // namespace

int runConvert(const ConvertOptions& options) {
    const auto fitted = facilityCodeOf(options.facility);
    if (!fitted) return 2;
    const std::int32_t facilityCode = *fitted;
    std::optional<HotstampRange> range;
    if (!rangeOf(options, facilityCode, range)) return 2;

    OutputBuffer out(stdout, options.csv);
    OutputBuffer errors(stderr);
    // Messages go to standard error after the place of the hotstamp they are about.
    const InputLine* place = nullptr;
    RowConverter convert(options.format, facilityCode, options.facility, options.version,
                         [&](std::string_view text) {
                             errors.line(inputPlace(*place) + ": " + std::string(text));
                         });
    bool allProxData = true;
    const Layout* explained = options.explain ? builtLayout(options.format, facilityCode) : nullptr;
    if (options.csv) out.line(kConvertCsvHeader);
    const auto convertLine = [&](const InputLine& hotstamp) {
        place = &hotstamp;
        const ProxDataText result = hotstamp.tooLong ? convert.refuse(tooLongMessage())
                                                     : convert.proxData(hotstamp.text);
        const bool proxData = isProxData(result.view());
        allProxData = allProxData && proxData;
        if (options.csv) return writeCsvRow(out, hotstamp, options, result, convert.messages());
        out.line(result.view());
        if (explained != nullptr && proxData) writeExplanation(out, result.view(), *explained);
    };
    const int readError = forEachHotstamp(range, options.hotstamps, convertLine, [&] {
        errors.flush();
        out.flush();
        return out.error() == 0;
    });
    errors.flush();
    out.flush();
    return reportIoErrors(readError, out) && allProxData ? 0 : 1;
}

}  // namespace morvane::cli
