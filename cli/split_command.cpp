#include "cli/split_command.h"

#include <unistd.h>

#include <string_view>

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
    SplitJsonWriter json;

    const auto splitOne = [&](std::string_view cardData) {
        ++count;
        SplitResult result;
        const std::size_t length = characterCount(cardData);
        // The window's card data box takes no more than 16 characters; anything longer is no
        // card data, and its output still comes so that output and input stay line for line.
        if (length > kMaxCardDataLength) {
            result.state = SplitState::Rejected;
            errors.line("morvane-cli: card data " + std::to_string(count) +
                        " refused: " + std::to_string(length) + " characters, at most " +
                        std::to_string(kMaxCardDataLength) + " allowed");
        } else {
            result = SplitData(cardData);
        }
        allMatched = allMatched && result.anyMatch();
        if (options.json) {
            out.line(json.line(cardData, result));
        } else {
            std::string block = splitTable(cardData, result);
            block.pop_back();  // line() ends it
            out.line(block);
        }
    };
    const auto flushBoth = [&] {
        errors.flush();
        out.flush();
    };

    if (options.cardData.empty()) forEachLine(STDIN_FILENO, splitOne, flushBoth);
    for (const std::string& cardData : options.cardData) {
        if (cardData == "-") {
            forEachLine(STDIN_FILENO, splitOne, flushBoth);
        } else {
            splitOne(cardData);
        }
    }
    flushBoth();
    return allMatched ? 0 : 1;
}

}  // namespace morvane::cli
