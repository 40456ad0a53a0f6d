#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "formats/card_format.h"

// The Split Data page as data: its columns (one per card format) with their headings, the
// fields each decoder reads from the card data, and what a format shows when the card data is
// not one of its credentials. Fields and formats only: which box shows a field is the window's
// business.
namespace morvane {

inline constexpr std::string_view kCardDataLabel = "Card Data:";
inline constexpr std::string_view kBitDataLabel = "Bit Data:";

// The page's formats in the order of its columns, which is also the order of the checks.
enum class SplitFormatId : std::uint8_t { F26, F34, F35, F35V, F36V, F37V, F37, Proxif, Casi };
inline constexpr std::size_t kSplitFormatCount = 9;

// The values a column shows: its rows.
enum class GridRow : std::uint8_t { Hotstamp, Facility, Version, NoFacility };
inline constexpr std::size_t kGridRowCount = 4;

// The label beside (or, for the 37-bit number without facility code, below) each row.
std::string_view gridRowLabel(GridRow row);

// Where a column reads each row's value in the 48-bit word; width 0 where it has no such row.
using RowFields = std::array<Field, kGridRowCount>;

struct SplitColumn {
    SplitFormatId id;
    LayoutId layout;           // the catalogue layout behind the column: its code, limits and rules
    std::string_view heading;  // caption above the column, "35 Bit V"
    bool shownInWindow;        // the Casi column is filled but kept hidden
    bool readsAboveFrame;      // the 35-bit check never looks above its sentinel
    RowFields fields;
    std::string_view refusal;  // shown when the card data is no credential of the format
    // The rows that show the refusal; the others are left empty. The 37-bit column shows it
    // beside its number without facility code as well.
    std::array<bool, kGridRowCount> refusalRows;
};

// Every column, in page order.
std::span<const SplitColumn> splitColumns();
const SplitColumn& splitColumn(SplitFormatId id);

// The column that splits what a layout builds: its own, or for the 37-bit layout without
// facility code the 37 Bit column, which reads that number too.
const SplitColumn& columnOfLayout(LayoutId id);
// The order in which a Split Data run fills the columns (the page's own, kept for the window).
std::span<const SplitFormatId> splitWriteOrder();

}  // namespace morvane
