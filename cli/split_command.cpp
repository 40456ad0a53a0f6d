#include "cli/split_command.h"

#include <string_view>

#include "cli/explain_output.h"
#include "cli/line_io.h"
#include "cli/split_output.h"
#include "formats/split_catalogue.h"
#include "formats/split_data.h"

namespace morvane::cli {

namespace {

// The window's card data box takes no more than 16 characters; anything longer is no card
// data, which Split Data refuses, and its output still comes so that output and input stay
// line for line.
void splitLine(const InputLine& cardData, std::size_t number, OutputBuffer& errors,
               SplitResult& result) {
    if (cardData.tooLong) {
        errors.line(tooLongMessage());
    } else if (cardData.text.size() > kMaxCardDataLength) {
        // Bytes outnumber characters, so only a long text needs its characters counted.
        const std::size_t length = characterCount(cardData.text);
        if (length > kMaxCardDataLength) {
            errors.line("morvane-cli: card data " + std::to_string(number) +
                        " refused: " + std::to_string(length) + " characters, at most " +
                        std::to_string(kMaxCardDataLength) + " allowed");
        }
    }
    SplitData(cardData.text, result);
}

}  // namespace

int runSplit(const SplitOptions& options) {
    OutputBuffer out(stdout);
    OutputBuffer errors(stderr);
    bool allMatched = true;
    std::size_t count = 0;
    SplitResult result;  // one for every line, so that its texts keep their room

    const auto splitOne = [&](const InputLine& cardData) {
        splitLine(cardData, ++count, errors, result);
        allMatched = allMatched && result.anyMatch();
        if (options.json) {
            out.lineWith([&](std::string& line) {
                appendSplitJson(line, cardData.text, result);
                if (options.explain) addSplitExplanation(line, cardData.text, result, true);
            });
        } else {
            std::string block = splitTable(cardData.text, result);
            if (options.explain) addSplitExplanation(block, cardData.text, result, false);
            block.pop_back();  // line() ends it
            out.line(block);
        }
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
