#include "cli/split_output.h"

#include <array>
#include <nlohmann/json.hpp>

#include "cli/line_io.h"
#include "formats/numeric_text.h"
#include "formats/split_catalogue.h"

namespace morvane::cli {

using namespace std::string_view_literals;

namespace {

// A column's width in the result table: its row label without the colon, or the widest text
// its boxes can hold ("Not 37 Bit V", a 35-bit number), whichever is wider, plus two blanks.
constexpr std::array<std::size_t, kGridRowCount> kRowWidths{14, 15, 9, 13};
constexpr std::size_t kHeadingWidth = 10;
constexpr std::string_view kHiddenNote = "(not shown in the window)";
constexpr std::array<std::string_view, kGridRowCount> kValueKeys{"hotstamp", "facility", "version",
                                                                 "no_facility"};

void appendPadded(std::string& out, std::string_view text, std::size_t width) {
    out.append(text);
    if (text.size() < width) out.append(width - text.size(), ' ');
}

void trimTrailingBlanks(std::string& line) {
    const auto end = line.find_last_not_of(' ');
    line.resize(end == std::string::npos ? 0 : end + 1);
}

std::string gridLine(std::string_view heading,
                     const std::array<std::string, kGridRowCount>& cells) {
    std::string line;
    appendPadded(line, heading, kHeadingWidth);
    for (std::size_t r = 0; r < kGridRowCount; ++r) appendPadded(line, cells[r], kRowWidths[r]);
    return line;
}

}  // namespace

std::string_view valueKey(GridRow row) { return kValueKeys[static_cast<std::size_t>(row)]; }

std::string splitTable(std::string_view cardData, const SplitResult& result,
                       const FormatRanking& ranking) {
    std::string out;
    out.append(kCardDataLabel).append(" ").append(quoted(cardData)).append("\n");
    out.append(kBitDataLabel).append("  ");
    appendBitData(out, result);
    trimTrailingBlanks(out);
    out.append("\n");
    if (result.state == SplitState::Rejected) {
        out.append("Rejected: ").append(rejectionReason(cardData, result)).append("\n\n");
        return out;
    }
    std::array<std::string, kGridRowCount> cells;
    for (std::size_t r = 0; r < kGridRowCount; ++r) {
        cells[r] = gridRowLabel(static_cast<GridRow>(r));
        if (cells[r].ends_with(':')) cells[r].pop_back();
    }
    std::string line = gridLine("Format", cells);
    trimTrailingBlanks(line);
    out.append(line).append("\n");

    for (const SplitColumn& column : splitColumns()) {
        for (std::size_t r = 0; r < kGridRowCount; ++r) {
            cells[r] = cellText(result, column.id, static_cast<GridRow>(r));
        }
        line = gridLine(column.heading, cells);
        if (column.shownInWindow) {
            trimTrailingBlanks(line);
        } else {
            line.append(kHiddenNote);
        }
        out.append(line).append("\n");
    }
    if (ranking.count > 0) {
        appendRankingReason(out, result, ranking);
        out += '\n';
    }
    out.append("\n");
    return out;
}

namespace {

// Printable ASCII goes out as it is; anything else takes the JSON library's escaping, which
// also decides how invalid UTF-8 is replaced.
void appendJsonString(std::string& out, std::string_view text) {
    const bool plain = std::all_of(text.begin(), text.end(), [](char c) {
        return c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
    });
    if (!plain) {
        out.append(nlohmann::json(std::string(text))
                       .dump(-1, ' ', true, nlohmann::json::error_handler_t::replace));
        return;
    }
    out.push_back('"');
    out.append(text);
    out.push_back('"');
}

// What each format's member starts with, passing or refused: its code, and for a refusal the
// window's text. Refusals, reasons and keys are the catalogue's own ASCII texts, which JSON
// does not escape.
struct MemberHeads {
    std::string passes;
    std::string refused;
    std::string code;  // in quotes
};

const std::array<MemberHeads, kSplitFormatCount>& memberHeads() {
    static const auto kHeads = [] {
        std::array<MemberHeads, kSplitFormatCount> heads;
        for (const SplitColumn& column : splitColumns()) {
            const std::string code = "\"" + std::string(layout(column.layout).code) + "\"";
            heads[static_cast<std::size_t>(column.id)] = {
                code + ":{\"passes\":true",
                code + ":{\"passes\":false,\"refusal\":\"" + std::string(column.refusal) +
                    "\",\"reason\":\"",
                code};
        }
        return heads;
    }();
    return kHeads;
}

constexpr std::array<std::string_view, kGridRowCount> kValueMembers{
    ",\"hotstamp\":", ",\"facility\":", ",\"version\":", ",\"no_facility\":"};

// One format's member: its values, or its refusal and the rule the card data breaks.
void appendFormatJson(std::string& out, const SplitColumn& column, const SplitResult& r) {
    const MemberHeads& heads = memberHeads()[static_cast<std::size_t>(column.id)];
    const ColumnResult& c = r.column(column.id);
    if (c.passes()) {
        out += heads.passes;
        for (std::size_t row = 0; row < kGridRowCount; ++row) {
            if (column.fields[row].present())
                appendDecimal(out += kValueMembers[row], c.values[row]);
        }
        out += '}';
    } else {
        out += heads.refused;
        appendFindingText(out, layout(column.layout), c.finding, r.word);
        out += "\"}";
    }
}

// The formats by place, ties sharing one, and the reason: ASCII of our own, nothing to escape.
void appendRankingJson(std::string& out, const SplitResult& r, const FormatRanking& ranking) {
    out += R"("ranking":{"places":[)"sv;
    for (const RankedFormat& f : ranking.formats()) {
        const bool opens = &f == ranking.ranked.data() || (&f - 1)->place != f.place;
        if (opens && &f != ranking.ranked.data()) out += "],"sv;
        out += opens ? '[' : ',';
        out += memberHeads()[static_cast<std::size_t>(f.id)].code;
    }
    out += ranking.count > 0 ? R"(]],"reason":")"sv : R"(],"reason":")"sv;
    appendRankingReason(out, r, ranking);
    out += R"("})"sv;
}

}  // namespace

void appendSplitJson(std::string& out, std::string_view cardData, const SplitResult& result,
                     const FormatRanking& ranking) {
    out.append("{\"format\":2,\"card_data\":");
    appendJsonString(out, cardData);
    out.append(",\"bit_data\":\"");
    appendBitData(out, result);
    if (result.state == SplitState::Rejected) {
        out.append("\",\"rejected\":true,\"reason\":");
        appendJsonString(out, rejectionReason(cardData, result));
        out.append(",\"formats\":{}}");
        return;
    }
    out.append("\",\"rejected\":false,\"formats\":{");
    const char* separator = "";
    for (const SplitColumn& column : splitColumns()) {
        out.append(separator);
        appendFormatJson(out, column, result);
        separator = ",";
    }
    out.append("},");
    appendRankingJson(out, result, ranking);
    out.push_back('}');
}

std::string splitCsvHeader() {
    std::string header = "card_data";
    for (const SplitColumn& column : splitColumns()) {
        for (std::size_t row = 0; row < kGridRowCount; ++row) {
            if (!column.fields[row].present()) continue;
            header.append(",")
                .append(layout(column.layout).code)
                .append("_")
                .append(kValueKeys[row]);
        }
    }
    return header + ",rejected,most_likely";
}

void appendSplitCsv(std::string& out, std::string_view cardData, const SplitResult& result,
                    const FormatRanking& ranking) {
    appendCsvField(out, cardData);
    std::string cell;
    for (const SplitColumn& column : splitColumns()) {
        for (std::size_t row = 0; row < kGridRowCount; ++row) {
            if (!column.fields[row].present()) continue;
            cell.clear();
            appendCellText(cell, result, column.id, static_cast<GridRow>(row));
            appendCsvField(out.append(","), cell);
        }
    }
    appendCsvField(out.append(","), rejectionReason(cardData, result));
    out.push_back(',');
    for (const RankedFormat& f : ranking.mostLikely()) {
        if (&f != ranking.ranked.data()) out.push_back(' ');
        out.append(layout(splitColumn(f.id).layout).code);
    }
}

}  // namespace morvane::cli
