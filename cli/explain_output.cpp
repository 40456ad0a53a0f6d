#include "cli/explain_output.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "formats/card_explain.h"
#include "formats/split_catalogue.h"

namespace morvane::cli {

namespace {

// The letters start where the bits start on the line above: under the text after "Bit Data:".
const std::size_t kLettersColumn = kBitDataLabel.size() + 2;

std::string explainedLine(std::string_view name, const CardExplanation& e) {
    std::string line(name);
    line.resize(std::max(line.size() + 1, kLettersColumn), ' ');
    line += roleLetters(e);
    line += e.passes ? "  passes: " : "  fails: ";
    line += e.verdict;
    line += '\n';
    return line;
}

std::string explainColumns(CardWord w) {
    std::string out;
    for (const SplitColumn& column : splitColumns()) {
        out += explainedLine(column.heading, explainColumn(column.id, w));
    }
    return out;
}

// Every column's heading, role letters, verdict and the bits the broken rule names.
nlohmann::ordered_json explainJson(CardWord w) {
    nlohmann::ordered_json formats = nlohmann::ordered_json::object();
    for (const SplitColumn& column : splitColumns()) {
        const CardExplanation e = explainColumn(column.id, w);
        nlohmann::ordered_json failing = nlohmann::ordered_json::array();
        for (int p = kProxWordBits - 1; p >= 0; --p) {
            if ((e.failingBits & bitAt(p)) != 0) failing.push_back(p);
        }
        formats[std::string(layout(column.layout).code)] = {
            {"heading", column.heading},  {"roles", roleLetters(e)}, {"passes", e.passes},
            {"verdict", e.verdict},       {"failing_bits", failing},
        };
    }
    return formats;
}

}  // namespace

void addSplitExplanation(std::string& text, std::string_view cardData, const SplitResult& result,
                         bool json) {
    const auto w = parseCardData(cardData);
    const bool split = result.state == SplitState::Split && w.has_value();
    if (json) {
        text.pop_back();
        text.append(",\"explain\":").append(split ? explainJson(*w).dump() : "{}").push_back('}');
    } else if (split) {
        const std::size_t bitDataEnd = text.find('\n', text.find('\n') + 1);
        if (bitDataEnd != std::string::npos) text.insert(bitDataEnd + 1, explainColumns(*w));
    }
}

std::string explainBuilt(std::string_view proxData, const Layout& l) {
    const auto w = parseCardData(proxData);
    if (!w || proxData.size() != static_cast<std::size_t>(kProxDataDigits)) return {};
    std::string out(kBitDataLabel);
    out.resize(kLettersColumn, ' ');
    for (int p = w->length - 1; p >= 0; --p) out.push_back((w->bits & bitAt(p)) != 0 ? '1' : '0');
    out += '\n';
    return out + explainedLine(l.code, explainLayout(l, *w));
}

}  // namespace morvane::cli
