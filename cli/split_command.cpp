#include "cli/split_command.h"

#include <cstdio>
#include <optional>
#include <string_view>

#include "cli/explain_output.h"
#include "cli/line_io.h"
#include "cli/split_output.h"
#include "formats/split_data.h"
#include "readers/site_facilities_file.h"

namespace morvane::cli {

namespace {

// The window's card data box takes no more than 16 characters; anything longer is no card
// data, which Split Data refuses, and its output still comes so that output and input stay
// line for line.
void reportRefusal(const InputLine& cardData, OutputBuffer& errors) {
    if (cardData.tooLong) {
        errors.line(inputPlace(cardData) + ": " + tooLongMessage());
    } else if (cardData.text.size() > kMaxCardDataLength) {
        // Bytes outnumber characters, so only a long text needs its characters counted.
        const std::size_t length = characterCount(cardData.text);
        if (length > kMaxCardDataLength) {
            errors.line(inputPlace(cardData) + ": card data refused: " + std::to_string(length) +
                        " characters, at most " + std::to_string(kMaxCardDataLength) + " allowed");
        }
    }
}

void writeResult(const SplitOptions& options, std::string_view cardData, const SplitResult& r,
                 const FormatRanking& ranking, RankingReasons& reasons, OutputBuffer& out) {
    if (options.json) {
        out.lineWith([&](std::string& line) {
            appendSplitJson(line, cardData, r, ranking, reasons);
            if (options.explain) addSplitExplanation(line, cardData, r, true);
        });
    } else if (options.csv) {
        out.lineWith([&](std::string& line) { appendSplitCsv(line, cardData, r, ranking); });
    } else {
        std::string block = splitTable(cardData, r, ranking);
        if (options.explain) addSplitExplanation(block, cardData, r, false);
        block.pop_back();  // line() ends it
        out.line(block);
    }
}

// The facilities file named on the command line must be there: a typing error in its name would
// otherwise rank every card as if the site had none.
std::optional<SiteFacilities> siteFacilities(const SplitOptions& options) {
    if (options.facilities.empty()) return SiteFacilities{};
    auto site = loadSiteFacilities(options.facilities, stderr);
    if (!site) {
        std::fprintf(stderr, "morvane-cli: --facilities \"%s\": no regular file that can be read\n",
                     options.facilities.c_str());
    }
    return site;
}

}  // namespace

int runSplit(const SplitOptions& options) {
    const auto site = siteFacilities(options);
    if (!site) return 2;
    const RankingInputs inputs{std::nullopt, site->empty() ? nullptr : &*site};
    OutputBuffer out(stdout, options.csv && !options.json);
    OutputBuffer errors(stderr);
    RankingReasons reasons;
    bool allMatched = true;
    if (options.csv && !options.json) out.line(splitCsvHeader());

    const auto splitOne = [&](const InputLine& cardData) {
        reportRefusal(cardData, errors);
        const SplitResult result = SplitData(cardData.text);
        allMatched = allMatched && result.anyMatch();
        writeResult(options, cardData.text, result, rankFormats(result, inputs), reasons, out);
    };
    const int readError = forEachInput(options.cardData, splitOne, [&] {
        errors.flush();
        out.flush();
        return out.error() == 0;
    });
    errors.flush();
    out.flush();
    return reportIoErrors(readError, out) && allMatched ? 0 : 1;
}

}  // namespace morvane::cli
