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

// Each format's member as far as it is fixed, worked out once from the catalogue: its code, the
// keys of its values, its refusal and the start of the reason. Refusals, reasons and keys are
// the catalogue's own ASCII texts, which JSON does not escape.
struct JsonColumn {
    SplitFormatId id;
    const Layout* layout;
    std::string code;     // in quotes: "26"
    std::string passes;   // "26":{"passes":true
    std::string refused;  // "26":{"passes":false,"refusal":"Not 26 Bit","reason":"
    std::array<std::string_view, kGridRowCount> valueKeys;  // ,"hotstamp": or none
};

constexpr std::array<std::string_view, kGridRowCount> kValueMembers{
    ",\"hotstamp\":", ",\"facility\":", ",\"version\":", ",\"no_facility\":"};

const std::array<JsonColumn, kSplitFormatCount>& jsonColumns() {
    static const auto kColumns = [] {
        std::array<JsonColumn, kSplitFormatCount> columns;
        for (const SplitColumn& c : splitColumns()) {
            JsonColumn& j = columns[static_cast<std::size_t>(c.id)];
            j.id = c.id;
            j.layout = &layout(c.layout);
            j.code.append("\"").append(j.layout->code).append("\"");
            j.passes = j.code + ":{\"passes\":true";
            j.refused = j.code + ":{\"passes\":false,\"refusal\":\"" + std::string(c.refusal) +
                        "\",\"reason\":\"";
            for (std::size_t row = 0; row < kGridRowCount; ++row) {
                if (c.fields[row].present()) j.valueKeys[row] = kValueMembers[row];
            }
        }
        return columns;
    }();
    return kColumns;
}

// One format's member: its values, or its refusal and the rule the card data breaks.
void appendFormatJson(std::string& out, const JsonColumn& column, const SplitResult& r) {
    const ColumnResult& c = r.column(column.id);
    if (c.passes()) {
        out += column.passes;
        for (std::size_t row = 0; row < kGridRowCount; ++row) {
            if (!column.valueKeys[row].empty())
                appendDecimal(out += column.valueKeys[row], c.values[row]);
        }
        out += '}';
    } else {
        out += column.refused;
        appendFindingText(out, *column.layout, c.finding, r.word);
        out += "\"}"sv;
    }
}

// The formats by place, ties sharing one, and the reason: ASCII of our own, nothing to escape.
void appendRankingJson(std::string& out, const SplitResult& r, const FormatRanking& ranking,
                       RankingReasons& reasons) {
    out += R"("ranking":{"places":[)"sv;
    for (const RankedFormat& f : ranking.formats()) {
        const bool opens = &f == ranking.ranked.data() || (&f - 1)->place != f.place;
        if (opens && &f != ranking.ranked.data()) out += "],"sv;
        out += opens ? '[' : ',';
        out += jsonColumns()[static_cast<std::size_t>(f.id)].code;
    }
    out += ranking.count > 0 ? R"(]],"reason":")"sv : R"(],"reason":")"sv;
    reasons.append(out, r, ranking);
    out += R"("})"sv;
}

}  // namespace

void appendSplitJson(std::string& out, std::string_view cardData, const SplitResult& result,
                     const FormatRanking& ranking, RankingReasons& reasons) {
    out += R"({"format":2,"card_data":)"sv;
    // Card data that split is octal digits, which need no escaping; looking at each one took
    // `split --json` over a million lines from 0.62 to 0.65 s of CPU time.
    if (result.state == SplitState::Split) {
        ((out += '"') += cardData) += '"';
    } else {
        appendJsonString(out, cardData);
    }
    out += R"(,"bit_data":")"sv;
    appendBitData(out, result);
    if (result.state == SplitState::Rejected) {
        out += R"(","rejected":true,"reason":)"sv;
        appendJsonString(out, rejectionReason(cardData, result));
        out += R"(,"formats":{}})"sv;
        return;
    }
    out += R"(","rejected":false,"formats":{)"sv;
    const auto& columns = jsonColumns();
    for (const JsonColumn& column : columns) {
        if (&column != columns.data()) out += ',';
        appendFormatJson(out, column, result);
    }
    out += "},"sv;
    appendRankingJson(out, result, ranking, reasons);
    out += '}';
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
