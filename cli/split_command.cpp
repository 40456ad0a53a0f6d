#include "cli/split_command.h"

#include <string_view>

#include "cli/explain_output.h"
#include "cli/line_io.h"
#include "cli/split_output.h"
#include "formats/split_catalogue.h"
#include "formats/split_data.h"

namespace morvane::cli {

int runSplit(const SplitOptions& options) {
    OutputBuffer out(stdout);
    OutputBuffer errors(stderr);
    bool allMatched = true;
    std::size_t count = 0;
    std::string text;

    const auto splitOne = [&](const InputLine& cardData) {
        ++count;
        SplitResult result;
        const std::size_t length = characterCount(cardData.text);
        // The window's card data box takes no more than 16 characters; anything longer is no
        // card data, and its output still comes so that output and input stay line for line.
        if (cardData.tooLong) {
            result.state = SplitState::Rejected;
            errors.line(tooLongMessage());
        } else if (length > kMaxCardDataLength) {
            result.state = SplitState::Rejected;
            errors.line("morvane-cli: card data " + std::to_string(count) +
                        " refused: " + std::to_string(length) + " characters, at most " +
                        std::to_string(kMaxCardDataLength) + " allowed");
        } else {
            result = SplitData(cardData.text);
        }
        allMatched = allMatched && result.anyMatch();
        text.clear();
        if (options.json) {
            appendSplitJson(text, cardData.text, result);
        } else {
            text = splitTable(cardData.text, result);
            text.pop_back();  // line() ends it
        }
        if (options.explain) addSplitExplanation(text, cardData.text, result, options.json);
        out.line(text);
    };
    const int readError = forEachInput(options.cardData, splitOne, [&] {
        errors.flush();
        out.flush();
    });
    errors.flush();
    out.flush();
    return reportIoErrors(readError, out) && allMatched ? 0 : 1;
}

}  // namespace morvane::cli
