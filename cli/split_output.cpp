#include "cli/split_output.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <cstring>
#include <nlohmann/json.hpp>

#include "formats/split_catalogue.h"

namespace morvane::cli {

namespace {

// Enough of an over-long card data to recognise it by.
constexpr std::size_t kShownBytes = 40;

// A column's width in the result table: its row label without the colon, or the widest text
// its boxes can hold ("Not 37 Bit V", a 35-bit number), whichever is wider, plus two blanks.
constexpr std::array<std::size_t, kGridRowCount> kRowWidths{14, 15, 9, 13};
constexpr std::size_t kHeadingWidth = 10;
constexpr std::string_view kHiddenNote = "(not shown in the window)";

void appendEscaped(std::string& out, unsigned char c) {
    if (c == '"' || c == '\\') {
        out.push_back('\\');
        out.push_back(static_cast<char>(c));
    } else if (c < 0x20 || c >= 0x7f) {
        std::array<char, 5> hex{};
        std::snprintf(hex.data(), hex.size(), "\\x%02x", c);
        out.append(hex.data(), 4);
    } else {
        out.push_back(static_cast<char>(c));
    }
}

// The card data in quotes, so that blanks show, with control and non-ASCII bytes escaped so
// that nothing reaches the terminal that it might act on.
std::string quoted(std::string_view text) {
    std::string out = "\"";
    for (std::size_t i = 0; i < text.size() && i < kShownBytes; ++i) {
        appendEscaped(out, static_cast<unsigned char>(text[i]));
    }
    out += text.size() > kShownBytes ? "\"..." : "\"";
    return out;
}

void appendPadded(std::string& out, std::string_view text, std::size_t width) {
    out.append(text);
    if (text.size() < width) out.append(width - text.size(), ' ');
}

void trimTrailingBlanks(std::string& line) {
    const auto end = line.find_last_not_of(' ');
    line.resize(end == std::string::npos ? 0 : end + 1);
}

std::string gridLine(std::string_view heading,
                     const std::array<std::string_view, kGridRowCount>& cells) {
    std::string line;
    appendPadded(line, heading, kHeadingWidth);
    for (std::size_t r = 0; r < kGridRowCount; ++r) appendPadded(line, cells[r], kRowWidths[r]);
    return line;
}

}  // namespace

std::size_t characterCount(std::string_view text) {
    std::size_t count = 0;
    for (char c : text) count += (static_cast<unsigned char>(c) & 0xC0U) != 0x80U;
    return count;
}

std::string rejectionReason(std::string_view cardData, const SplitResult& result) {
    if (result.state != SplitState::Rejected) return {};
    const std::size_t length = characterCount(cardData);
    if (length > kMaxCardDataLength) {
        return std::to_string(length) + " characters, more than the " +
               std::to_string(kMaxCardDataLength) + " the card data box holds";
    }
    const std::size_t at = cardData.find_first_not_of("01234567");
    if (at == std::string_view::npos) return {};
    // Everything in front of it is an octal digit, so its byte is also its character position;
    // a UTF-8 character is shown with all of its bytes.
    std::string bad;
    std::size_t end = at + 1;
    while (end < cardData.size() && (static_cast<unsigned char>(cardData[end]) & 0xC0U) == 0x80U) {
        ++end;
    }
    for (std::size_t i = at; i < end; ++i) {
        appendEscaped(bad, static_cast<unsigned char>(cardData[i]));
    }
    return "\"" + bad + "\" at character " + std::to_string(at + 1) + " is not an octal digit";
}

std::string splitTable(std::string_view cardData, const SplitResult& result) {
    std::string out;
    out.append(kCardDataLabel).append(" ").append(quoted(cardData)).append("\n");
    out.append(kBitDataLabel).append("  ").append(result.bitData);
    trimTrailingBlanks(out);
    out.append("\n");
    if (result.state == SplitState::Rejected) {
        out.append("Rejected: ").append(rejectionReason(cardData, result)).append("\n\n");
        return out;
    }

    std::array<std::string, kGridRowCount> labels;
    std::array<std::string_view, kGridRowCount> header;
    for (std::size_t r = 0; r < kGridRowCount; ++r) {
        labels[r] = gridRowLabel(static_cast<GridRow>(r));
        if (labels[r].ends_with(':')) labels[r].pop_back();
        header[r] = labels[r];
    }
    std::string line = gridLine("Format", header);
    trimTrailingBlanks(line);
    out.append(line).append("\n");

    for (const SplitColumn& column : splitColumns()) {
        std::array<std::string_view, kGridRowCount> cells{};
        for (const BoxSlice& s : column.slices) {
            cells[static_cast<std::size_t>(s.row)] = result.box(s.box);
        }
        line = gridLine(column.heading, cells);
        if (column.shownInWindow) {
            trimTrailingBlanks(line);
        } else {
            line.append(kHiddenNote);
        }
        out.append(line).append("\n");
    }
    out.append("\n");
    return out;
}

namespace {

bool needsNoEscape(std::string_view text) {
    return std::all_of(text.begin(), text.end(), [](char c) {
        return c >= 0x20 && c < 0x7f && c != '"' && c != '\\';
    });
}

// Printable ASCII goes out as it is; anything else takes the JSON library's escaping, which
// also decides how invalid UTF-8 is replaced.
void appendJsonString(std::string& out, std::string_view text) {
    if (needsNoEscape(text)) {
        out.push_back('"');
        out.append(text);
        out.push_back('"');
        return;
    }
    out.append(nlohmann::json(std::string(text))
                   .dump(-1, ' ', true, nlohmann::json::error_handler_t::replace));
}

// What stands between the texts of the object: the end of the one before, the next box's name.
const std::array<std::string, kResultBoxCount>& boxKeys() {
    static const std::array<std::string, kResultBoxCount> keys = [] {
        std::array<std::string, kResultBoxCount> k;
        for (std::size_t i = 0; i < kResultBoxCount; ++i) {
            k[i] = std::string(i == 0 ? "{\"" : "\",\"") +
                   std::string(boxName(static_cast<ResultBox>(i))) + "\":\"";
        }
        return k;
    }();
    return keys;
}

// Keys and boxes are a few bytes each, too short to be worth a call to memcpy: fixed 8-byte
// blocks, which compile to plain moves, the last one ending at the text's end and overlapping
// the one before.
char* put(char* at, std::string_view text) {
    constexpr std::size_t kBlock = 8;
    const char* from = text.data();
    const std::size_t n = text.size();
    if (n < kBlock) {
        for (std::size_t i = 0; i < n; ++i) at[i] = from[i];
        return at + n;
    }
    for (std::size_t i = 0; i + kBlock < n; i += kBlock) std::memcpy(at + i, from + i, kBlock);
    std::memcpy(at + n - kBlock, from + n - kBlock, kBlock);
    return at + n;
}

}  // namespace

void appendSplitJson(std::string& out, std::string_view cardData, const SplitResult& result) {
    out.append("{\"card_data\":");
    appendJsonString(out, cardData);
    // The bit data and the boxes hold binary and decimal digits and the catalogue's refusal
    // texts, none of which JSON escapes. Their room is taken at once and filled in place, as a
    // batch writes millions of these.
    constexpr std::string_view kBitData = ",\"bit_data\":\"";
    const std::string_view state = result.state == SplitState::Rejected
                                       ? "\",\"rejected\":true,\"boxes\":"
                                       : "\",\"rejected\":false,\"boxes\":";
    constexpr std::string_view kEnd = "\"}}";
    const auto& keys = boxKeys();
    std::size_t size = kBitData.size() + result.bitData.size() + state.size() + kEnd.size();
    for (std::size_t i = 0; i < kResultBoxCount; ++i) {
        size += keys[i].size() + result.boxes[i].size();
    }
    const std::size_t start = out.size();
    out.resize(start + size);
    char* at = put(put(put(out.data() + start, kBitData), result.bitData), state);
    for (std::size_t i = 0; i < kResultBoxCount; ++i) at = put(put(at, keys[i]), result.boxes[i]);
    put(at, kEnd);
}

}  // namespace morvane::cli
