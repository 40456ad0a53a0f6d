#include "cli/split_output.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdlib>
#include <cstring>
#include <nlohmann/json.hpp>

#include "cli/line_io.h"
#include "formats/card_explain.h"
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

// A text of at most `Room` characters, copied whole at that fixed size: copied at their own
// length, with a call and its branches each, the texts took `split --json` over a million lines
// from 0.52 to 0.58 s of CPU time (the floor command line 0.14 s in the same runs).
template <std::size_t Room>
struct Piece {
    std::array<char, Room> bytes{};
    std::size_t size = 0;
};
constexpr std::size_t kPieceRoom = 64;
constexpr std::size_t kWholeRoom = 128;  // a refusal's member with its reason

// The text, or an empty piece where it does not fit.
template <std::size_t Room>
Piece<Room> piece(std::string_view text) {
    Piece<Room> p;
    if (text.size() > Room) return p;
    std::copy(text.begin(), text.end(), p.bytes.begin());
    p.size = text.size();
    return p;
}

// Where the piece goes there is room for all of its bytes; the next write overwrites what lies
// beyond its end.
template <std::size_t Room>
char* put(char* at, const Piece<Room>& p) {
    std::memcpy(at, p.bytes.data(), Room);
    return at + p.size;
}

char* put(char* at, std::string_view text) { return std::copy(text.begin(), text.end(), at); }

// Each format's member as far as the catalogue fixes it, worked out once: its code, the keys of
// its values, its refusal and the start of the reason, and whole refusals for the reasons the
// layout alone decides. Refusals, reasons and keys are the catalogue's own ASCII texts, which
// JSON does not escape.
struct JsonColumn {
    SplitFormatId id;
    const Layout* layout;
    Piece<kPieceRoom> code;     // in quotes: "26"
    Piece<kPieceRoom> passes;   // "26":{"passes":true
    Piece<kPieceRoom> refused;  // "26":{"passes":false,"refusal":"Not 26 Bit","reason":"
    std::array<Piece<kPieceRoom>, kGridRowCount> valueKeys;  // ,"hotstamp": or empty
    // The member refused for its sentinel, and per parity rule with its bit 0 and 1; empty
    // where the reason does not fit. Written whole rather than from the refusal and the
    // finding's text, these took `split --json` over a million lines from 0.53 to 0.48-0.50 s of
    // CPU time (the floor command line 0.14 s in the same runs).
    Piece<kWholeRoom> sentinelRefused;
    std::array<std::array<Piece<kWholeRoom>, 2>, 3> parityRefused;

    // A sentinel's reason names the layout's bit alone, a parity rule's its rule and whether
    // the card data sets its bit.
    const Piece<kWholeRoom>* wholeRefusal(const Finding& f, CardWord w) const {
        const Piece<kWholeRoom>* whole = nullptr;
        if (f.rule == Rule::Sentinel) whole = &sentinelRefused;
        if (f.rule == Rule::Parity) {
            const auto rule = static_cast<std::size_t>(f.parity - layout->parity.data());
            whole = &parityRefused.at(rule)[(w.bits & f.bits) != 0 ? 1 : 0];
        }
        return whole != nullptr && whole->size > 0 ? whole : nullptr;
    }
};

constexpr std::array<std::string_view, kGridRowCount> kValueMembers{
    ",\"hotstamp\":", ",\"facility\":", ",\"version\":", ",\"no_facility\":"};

constexpr std::size_t kMostDecimal = 20;  // 2^64 - 1
// A member's fixed text, then its reason or its values, and room for a piece copied whole.
constexpr std::size_t kMostMember =
    kPieceRoom + std::max(kMaxFindingText + 2, kGridRowCount * (16 + kMostDecimal)) + kWholeRoom;

// The refusal's member with the reason of `f`, which the layout alone decides.
Piece<kWholeRoom> refusedWith(const std::string& refused, const Layout& l, const Finding& f,
                               CardWord w) {
    return piece<kWholeRoom>(refused + findingText(l, f, w) + "\"}");
}

void addWholeRefusals(JsonColumn& j, const std::string& refused) {
    const Layout& l = *j.layout;
    if (l.sentinelBit >= 0) {
        const Finding f{Rule::Sentinel, bitAt(l.sentinelBit)};
        j.sentinelRefused = refusedWith(refused, l, f, CardWord{0, kProxWordBits});
    }
    for (std::size_t i = 0; i < l.parity.size(); ++i) {
        const Finding f{Rule::Parity, bitAt(l.parity[i].bit), &l.parity[i]};
        for (std::uint64_t set : {0, 1}) {
            const CardWord w{set != 0 ? f.bits : 0, kProxWordBits};
            j.parityRefused.at(i)[set] = refusedWith(refused, l, f, w);
        }
    }
}

const std::array<JsonColumn, kSplitFormatCount>& jsonColumns() {
    static const auto kColumns = [] {
        std::array<JsonColumn, kSplitFormatCount> columns;
        for (const SplitColumn& c : splitColumns()) {
            JsonColumn& j = columns[static_cast<std::size_t>(c.id)];
            j.id = c.id;
            j.layout = &layout(c.layout);
            std::string code = "\"";
            code.append(j.layout->code).append("\"");
            std::string refused = code;
            refused.append(":{\"passes\":false,\"refusal\":\"").append(c.refusal);
            refused.append("\",\"reason\":\"");
            // A longer refusal or code in the catalogue needs a larger kPieceRoom.
            if (refused.size() > kPieceRoom) std::abort();
            j.code = piece<kPieceRoom>(code);
            j.passes = piece<kPieceRoom>(code + ":{\"passes\":true");
            j.refused = piece<kPieceRoom>(refused);
            addWholeRefusals(j, refused);
            for (std::size_t row = 0; row < kGridRowCount; ++row) {
                if (!c.fields[row].present()) continue;
                j.valueKeys[row] = piece<kPieceRoom>(kValueMembers[row]);
            }
        }
        return columns;
    }();
    return kColumns;
}

// One format's member: its values, or its refusal and the rule the card data breaks. Written at
// `at`, which has room for kMostMember characters.
char* writeFormatJson(char* at, const JsonColumn& column, const SplitResult& r) {
    const ColumnResult& c = r.column(column.id);
    if (!c.passes()) {
        if (const auto* whole = column.wholeRefusal(c.finding, r.word)) return put(at, *whole);
        at = put(at, column.refused);
        return put(writeFindingText(at, *column.layout, c.finding, r.word), "\"}");
    }
    at = put(at, column.passes);
    for (std::size_t row = 0; row < kGridRowCount; ++row) {
        if (column.valueKeys[row].size == 0) continue;
        at = put(at, column.valueKeys[row]);
        at = std::to_chars(at, at + kMostDecimal, c.values[row]).ptr;
    }
    *at++ = '}';
    return at;
}

// The formats by place, ties sharing one: [["26"],["Casi"]]. Written at `at`, which has room
// for kMostPlaces characters.
char* writePlaces(char* at, const FormatRanking& ranking) {
    const auto& columns = jsonColumns();
    *at++ = '[';
    for (const RankedFormat& f : ranking.formats()) {
        const bool opens = &f == ranking.ranked.data() || (&f - 1)->place != f.place;
        if (opens && &f != ranking.ranked.data()) at = put(at, "],");
        *at++ = opens ? '[' : ',';
        at = put(at, columns[static_cast<std::size_t>(f.id)].code);
    }
    return put(at, ranking.count > 0 ? "]]" : "]");
}

// Card data that did not split has no bit data, no formats and no ranking.
void appendRejectedJson(std::string& out, std::string_view cardData, const SplitResult& r) {
    out += R"({"format":2,"card_data":)"sv;
    appendJsonString(out, cardData);
    out += R"(,"bit_data":"","rejected":true,"reason":)"sv;
    appendJsonString(out, rejectionReason(cardData, r));
    out += R"(,"formats":{}})"sv;
}

// Everything but the ranking's reason: the card data and its bit data among 69 characters of
// their own, every format's member, the ranking's places and the 33 characters around them.
constexpr std::size_t kMostHead = 96 + kMaxCardDataLength + kProxWordBits;
constexpr std::size_t kMostPlaces = 4 + kSplitFormatCount * (3 + kPieceRoom);
constexpr std::size_t kMostSplitJson =
    kMostHead + kSplitFormatCount * (kMostMember + 1) + 64 + kMostPlaces;

}  // namespace

// Written into one buffer and appended at once: appended part by part, `split --json` over a
// million lines took 0.62 to 0.63 s of CPU time, into the buffer 0.57 to 0.58 s (the floor command
// line 0.14 s in the same runs).
void appendSplitJson(std::string& out, std::string_view cardData, const SplitResult& result,
                     const FormatRanking& ranking, RankingReasons& reasons) {
    if (result.state != SplitState::Split) {
        appendRejectedJson(out, cardData, result);
        return;
    }
    std::array<char, kMostSplitJson> text;
    // Card data that split is at most 16 octal digits, which need no escaping; looking at each
    // one took `split --json` over a million lines from 0.62 to 0.65 s of CPU time.
    char* at = put(text.data(), R"({"format":2,"card_data":")");
    at = put(at, cardData.substr(0, kMaxCardDataLength));
    at = put(writeBitData(put(at, R"(","bit_data":")"), result),
             R"(","rejected":false,"formats":{)");
    const auto& columns = jsonColumns();
    for (const JsonColumn& column : columns) {
        if (&column != columns.data()) *at++ = ',';
        at = writeFormatJson(at, column, result);
    }
    at = writePlaces(put(at, R"(},"ranking":{"places":)"), ranking);
    out.append(text.data(), put(at, R"(,"reason":")"));
    reasons.append(out, result, ranking);
    out += R"("}})"sv;
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
