#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "formats/card_explain.h"
#include "formats/card_word.h"
#include "formats/split_catalogue.h"

// Split Data: card data (octal digits) back to hotstamp, facility code and version under every
// known card format at once. The result holds numbers and findings; text is made only where it
// is shown.
namespace morvane {

enum class SplitState {
    Empty,     // no card data split since its last change: bit data and results empty
    Split,     // bit data shown, every format holding its values or its refusal
    Rejected,  // an invalid character: bit data and results empty, card data unchanged
};

struct ColumnResult {
    Finding finding;  // passes, or the first rule the card data breaks
    std::array<std::uint64_t, kGridRowCount> values{};  // the column's fields when it passes

    bool passes() const { return finding.passes(); }
};

struct SplitResult {
    SplitState state = SplitState::Empty;
    CardWord word;
    std::array<ColumnResult, kSplitFormatCount> columns{};  // indexed by SplitFormatId

    const ColumnResult& column(SplitFormatId id) const {
        return columns[static_cast<std::size_t>(id)];
    }
    bool matches(SplitFormatId id) const {
        return state == SplitState::Split && column(id).passes();
    }
    bool anyMatch() const;
};

// The "Split Data" button's run over the card data text: the word, nine checks, and every
// matching format's values. Card data longer than the card data box holds is refused.
SplitResult SplitData(std::string_view cardData);

// The bit data the page shows: 48 "0"/"1" characters, leading bit first, or nothing.
void appendBitData(std::string& out, const SplitResult& r);
// The same written at `at`, which has room for kProxWordBits characters; returns its end.
char* writeBitData(char* at, const SplitResult& r);
std::string bitData(const SplitResult& r);

// What one row of a column shows: its value in decimal, the format's refusal text, or nothing.
void appendCellText(std::string& out, const SplitResult& r, SplitFormatId id, GridRow row);
std::string cellText(const SplitResult& r, SplitFormatId id, GridRow row);

}  // namespace morvane
