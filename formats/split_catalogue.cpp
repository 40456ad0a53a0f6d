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

SplitColumn column(SplitFormatId id, LayoutId l, std::string_view heading,
                   std::string_view refusal) {
    return SplitColumn{id,
                       l,
                       heading,
                       id != SplitFormatId::Casi,
                       id != SplitFormatId::F35,
                       fieldsOf(l),
                       refusal,
                       id == SplitFormatId::F37 ? kBesideNumberToo : kHotstampRow};
}

const std::array<SplitColumn, kSplitFormatCount>& columns() {
    using enum SplitFormatId;
    static const std::array<SplitColumn, kSplitFormatCount> kColumns{
        column(F26, LayoutId::F26, "26 Bit", "Not 26 Bit"),
        column(F34, LayoutId::F34, "34 Bit", "Not 34 Bit"),
        column(F35, LayoutId::F35, "35 Bit", "Not 35 Bit"),
        column(F35V, LayoutId::F35V, "35 Bit V", "Not 35V"),
        column(F36V, LayoutId::F36V, "36 Bit V", "Not 36 Bit V"),
        column(F37V, LayoutId::F37V, "37 Bit V", "Not 37 Bit V"),
        column(F37, LayoutId::F37, "37 Bit", "Not 37 Bit"),
        column(Proxif, LayoutId::Proxif, "Proxif", "Not Proxif"),
        column(Casi, LayoutId::Casi, "Casi", "Not Casi"),
    };
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

std::span<const SplitFormatId> splitWriteOrder() { return kWriteOrder; }

}  // namespace morvane
