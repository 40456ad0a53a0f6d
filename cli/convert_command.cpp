#include "cli/convert_command.h"

#include <unistd.h>

#include <cstdio>
#include <string_view>

#include "cli/explain_output.h"
#include "cli/line_io.h"
#include "formats/card_explain.h"
#include "formats/card_format.h"
#include "formats/encoder_host.h"
#include "formats/numeric_error.h"
#include "formats/numeric_text.h"
#include "formats/prox_data.h"

namespace morvane::cli {

namespace {

// The command line's stand-in for the Data Input page: messages go to standard error, and each
// hotstamp is converted on its own, so a box set to a limit does not carry over to the next.
class TerminalHost : public EncoderHost {
  public:
    TerminalHost(std::string facility, std::string version, OutputBuffer& errors)
        : facility_(std::move(facility)), version_(std::move(version)), errors_(errors) {}

    void showMessage(std::string_view text) override { errors_.line(text); }
    void setHotstampBox(std::string_view) override {}
    void setFacilityBox(std::string_view) override {}
    void setVersionBox(std::string_view) override {}
    std::string facilityBox() const override { return facility_; }
    std::string versionBox() const override { return version_; }

  private:
    std::string facility_;
    std::string version_;
    OutputBuffer& errors_;
};

// The calculation gives 16 octal digits, the no-result value or the empty text.
bool isProxData(std::string_view text) {
    return text.size() == static_cast<std::size_t>(kProxDataDigits) && text != kNoResult;
}

}  // namespace

int runConvert(const ConvertOptions& options) {
    const auto number = parseNumber(options.facility);
    const auto fitted = number ? fitInt32(*number) : std::nullopt;
    if (!fitted) {
        std::fprintf(stderr, "morvane-cli: --facility \"%s\": %s\n", options.facility.c_str(),
                     number ? overflowError().text().c_str() : "not a number");
        return 2;
    }
    const std::int32_t facilityCode = *fitted;

    OutputBuffer out(stdout);
    OutputBuffer errors(stderr);
    TerminalHost host(options.facility, options.version, errors);
    bool allProxData = true;
    const Layout* explained = options.explain ? builtLayout(options.format, facilityCode) : nullptr;
    const auto convertOne = [&](const InputLine& hotstamp) {
        ProxDataText result;
        if (hotstamp.tooLong) {
            errors.line(tooLongMessage());
        } else {
            try {
                result = calcProxDataText(hotstamp.text, options.format, facilityCode, host);
            } catch (const NumericError& e) {
                errors.line(e.text());
            }
        }
        const bool proxData = isProxData(result.view());
        allProxData = allProxData && proxData;
        out.line(result.view());
        if (explained != nullptr && proxData) {
            std::string frame = explainBuilt(result.view(), *explained);
            frame.pop_back();  // line() ends it
            out.line(frame);
        }
    };
    const int readError = forEachInput(options.hotstamps, convertOne, [&] {
        errors.flush();
        out.flush();
        return out.error() == 0;
    });
    errors.flush();
    out.flush();
    return reportIoErrors(readError, out) && allProxData ? 0 : 1;
}

}  // namespace morvane::cli
