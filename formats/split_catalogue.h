#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "formats/card_format.h"
#include "formats/card_word.h"
#include "formats/split_data.h"

// The Split Data page as data: its columns (one per card format) with their headings, the
// result boxes each decoder fills and from which bits, and what a format shows when the card
// data is not one of its credentials. The window, the command line and the decoders all read
// the page from here.
namespace morvane {

inline constexpr std::string_view kBitDataBoxName = "txtBits";
inline constexpr std::string_view kCardDataLabel = "Card Data:";
inline constexpr std::string_view kBitDataLabel = "Bit Data:";

// The page's formats in the order of its columns, which is also the order of the checks and of
// SplitResult::matches.
enum class SplitFormatId : std::uint8_t { F26, F34, F35, F35V, F36V, F37V, F37, Proxif, Casi };
inline constexpr std::size_t kSplitFormatCount = 9;

// The rows of the result grid.
enum class GridRow : std::uint8_t { Hotstamp, Facility, Version, NoFacility };
inline constexpr std::size_t kGridRowCount = 4;

// The label beside (or, for the 37-bit number without facility code, below) each row.
std::string_view gridRowLabel(GridRow row);

// A decoder's box: the characters from `start` (counting from 1 at the left of the bit data),
// `length` of them, cut short at the end of the bit data.
struct BoxSlice {
    ResultBox box;
    GridRow row;
    int start;
    int length;
};

// A text written into a box when the check of its format fails.
struct BoxText {
    ResultBox box;
    std::string_view text;
};

struct SplitColumn {
    SplitFormatId id;
    LayoutId layout;           // the catalogue layout behind the column: its code, limits and rules
    std::string_view heading;  // caption above the column, "35 Bit V"
    bool shownInWindow;        // the Casi column is filled but kept hidden
    std::span<const BoxSlice> slices;  // every box of the column, in the order they are written
    std::span<const BoxText> refusal;  // written when the check fails
};

// Every column, in page order.
std::span<const SplitColumn> splitColumns();
const SplitColumn& splitColumn(SplitFormatId id);

// The order in which a Split Data run writes the columns' boxes.
std::span<const SplitFormatId> splitWriteOrder();

using ResultBoxes = std::array<std::string, kResultBoxCount>;

}  // namespace morvane
