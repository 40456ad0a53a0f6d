#include "formats/split_catalogue.h"

namespace morvane {

namespace {

using enum GridRow;

constexpr std::array<std::string_view, kGridRowCount> kRowLabels{
    "Hotstamp No.:",
    "Facility Code:",
    "Version:",
    "No Facility",
};

constexpr std::size_t row(GridRow r) { return static_cast<std::size_t>(r); }

// Each column reads its layout's fields as far as their limits reach. The 37-bit column also
// reads the 35-bit hotstamp of the layout without facility code, and the 35-bit Vorta facility
// code takes the fixed 0 bit above it along: set on a card, it shows in the number.
RowFields fieldsOf(LayoutId id) {
    const Layout& l = layout(id);
    RowFields fields{l.reachedHotstamp(), l.reachedFacility(), l.reachedVersion(), Field{}};
    if (id == LayoutId::F37) fields[row(NoFacility)] = layout(LayoutId::F37NFC).hotstamp;
    if (id == LayoutId::F35V) ++fields[row(Facility)].width;
    return fields;
}

constexpr std::array<bool, kGridRowCount> kHotstampRow{true, false, false, false};
constexpr std::array<bool, kGridRowCount> kBesideNumberToo{true, false, false, true};

// The page's columns, in its order; the checks' and the page's quirks are the flags.
struct ColumnEntry {
    SplitFormatId id;
    LayoutId layout;
    std::string_view heading;
    std::string_view refusal;
    bool shownInWindow = true;
    bool readsAboveFrame = true;
    std::array<bool, kGridRowCount> refusalRows = kHotstampRow;
};

constexpr std::array<ColumnEntry, kSplitFormatCount> kEntries{{
    {SplitFormatId::F26, LayoutId::F26, "26 Bit", "Not 26 Bit"},
    {SplitFormatId::F34, LayoutId::F34, "34 Bit", "Not 34 Bit"},
    {SplitFormatId::F35, LayoutId::F35, "35 Bit", "Not 35 Bit", true, false},
    {SplitFormatId::F35V, LayoutId::F35V, "35 Bit V", "Not 35V"},
    {SplitFormatId::F36V, LayoutId::F36V, "36 Bit V", "Not 36 Bit V"},
    {SplitFormatId::F37V, LayoutId::F37V, "37 Bit V", "Not 37 Bit V"},
    {SplitFormatId::F37, LayoutId::F37, "37 Bit", "Not 37 Bit", true, true, kBesideNumberToo},
    {SplitFormatId::Proxif, LayoutId::Proxif, "Proxif", "Not Proxif"},
    {SplitFormatId::Casi, LayoutId::Casi, "Casi", "Not Casi", false},
}};

constexpr bool entriesInIdOrder() {
    for (std::size_t i = 0; i < kEntries.size(); ++i) {
        if (static_cast<std::size_t>(kEntries[i].id) != i) return false;
    }
    return true;
}
static_assert(entriesInIdOrder());

const std::array<SplitColumn, kSplitFormatCount>& columns() {
    static const auto kColumns = [] {
        std::array<SplitColumn, kSplitFormatCount> built{};
        for (std::size_t i = 0; i < kEntries.size(); ++i) {
            const ColumnEntry& e = kEntries[i];
            built[i] = {e.id,
                        e.layout,
                        e.heading,
                        e.shownInWindow,
                        e.readsAboveFrame,
                        fieldsOf(e.layout),
                        e.refusal,
                        e.refusalRows};
        }
        return built;
    }();
    return kColumns;
}

constexpr std::array kWriteOrder{
    SplitFormatId::F26,  SplitFormatId::F34,    SplitFormatId::F35V,
    SplitFormatId::F36V, SplitFormatId::F37V,   SplitFormatId::F35,
    SplitFormatId::F37,  SplitFormatId::Proxif, SplitFormatId::Casi,
};
static_assert(kWriteOrder.size() == kSplitFormatCount);

}  // namespace

std::string_view gridRowLabel(GridRow row) { return kRowLabels[static_cast<std::size_t>(row)]; }

std::span<const SplitColumn> splitColumns() { return columns(); }

const SplitColumn& splitColumn(SplitFormatId id) { return columns()[static_cast<std::size_t>(id)]; }

const SplitColumn& columnOfLayout(LayoutId id) {
    const LayoutId read = id == LayoutId::F37NFC ? LayoutId::F37 : id;
    for (const SplitColumn& column : columns()) {
        if (column.layout == read) return column;
    }
    return columns().front();  // unreachable: every layout has its column
}

std::span<const SplitFormatId> splitWriteOrder() { return kWriteOrder; }

}  // namespace morvane
