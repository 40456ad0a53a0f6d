#include "formats/split_catalogue.h"

namespace morvane {

namespace {

using enum ResultBox;
using enum GridRow;

// Indexed by ResultBox, which follows the order a change of the card data empties the boxes.
constexpr std::array<std::string_view, kResultBoxCount> kBoxNames{
    "txt26Num",     "txt35VNum",    "txt35VFac",    "txt36VNum",  "txt36VFac",
    "txt37VNum",    "txt37VFac",    "txt35Num",     "txt35Fac",   "txt34Num",
    "txt34Fac",     "txt26Fac",     "txt37Num",     "txt37Fac",   "txt37Number",
    "txtProxifNum", "txtProxifFac", "txtProxifVer", "txtCasiNum", "txtCasiFac",
};

// The bit data box is emptied second, right after txt26Num.
constexpr std::array<std::string_view, kResultBoxCount + 1> kClearedBoxNames = [] {
    std::array<std::string_view, kResultBoxCount + 1> names{};
    names[0] = kBoxNames[0];
    names[1] = kBitDataBoxName;
    for (std::size_t i = 1; i < kResultBoxCount; ++i) names[i + 1] = kBoxNames[i];
    return names;
}();

constexpr std::array<std::string_view, kGridRowCount> kRowLabels{
    "Hotstamp No.:",
    "Facility Code:",
    "Version:",
    "No Facility",
};

constexpr std::array kSlices26{BoxSlice{Num26, Hotstamp, 32, 16}, BoxSlice{Fac26, Facility, 24, 8}};
constexpr std::array kSlices34{BoxSlice{Num34, Hotstamp, 28, 20},
                               BoxSlice{Fac34, Facility, 16, 12}};
constexpr std::array kSlices35{BoxSlice{Num35, Hotstamp, 28, 20},
                               BoxSlice{Fac35, Facility, 16, 12}};
// The facility slice takes the fixed 0 bit above the 12 facility bits with it.
constexpr std::array kSlices35V{BoxSlice{Num35V, Hotstamp, 28, 20},
                                BoxSlice{Fac35V, Facility, 15, 13}};
constexpr std::array kSlices36V{BoxSlice{Num36V, Hotstamp, 26, 21},
                                BoxSlice{Fac36V, Facility, 14, 12}};
constexpr std::array kSlices37V{BoxSlice{Num37V, Hotstamp, 29, 19},
                                BoxSlice{Fac37V, Facility, 13, 16}};
// txt37Number reads facility and hotstamp bits together: the 35-bit hotstamp of the layout
// without facility code.
constexpr std::array kSlices37{BoxSlice{Num37, Hotstamp, 29, 19}, BoxSlice{Fac37, Facility, 13, 16},
                               BoxSlice{Number37, NoFacility, 13, 35}};
constexpr std::array kSlicesProxif{BoxSlice{ProxifNum, Hotstamp, 29, 20},
                                   BoxSlice{ProxifFac, Facility, 13, 15},
                                   BoxSlice{ProxifVer, Version, 10, 3}};
constexpr std::array kSlicesCasi{BoxSlice{CasiNum, Hotstamp, 17, 32},
                                 BoxSlice{CasiFac, Facility, 5, 8}};

constexpr std::array kRefusal26{BoxText{Num26, "Not 26 Bit"}};
constexpr std::array kRefusal34{BoxText{Num34, "Not 34 Bit"}};
constexpr std::array kRefusal35{BoxText{Num35, "Not 35 Bit"}};
constexpr std::array kRefusal35V{BoxText{Num35V, "Not 35V"}};
constexpr std::array kRefusal36V{BoxText{Num36V, "Not 36 Bit V"}};
constexpr std::array kRefusal37V{BoxText{Num37V, "Not 37 Bit V"}};
constexpr std::array kRefusal37{BoxText{Num37, "Not 37 Bit"}, BoxText{Number37, "Not 37 Bit"}};
constexpr std::array kRefusalProxif{BoxText{ProxifNum, "Not Proxif"}, BoxText{ProxifFac, ""},
                                    BoxText{ProxifVer, ""}};
constexpr std::array kRefusalCasi{BoxText{CasiNum, "Not Casi"}, BoxText{CasiFac, ""}};

constexpr std::array kColumns{
    SplitColumn{SplitFormatId::F26, LayoutId::F26, "26 Bit", true, kSlices26, kRefusal26},
    SplitColumn{SplitFormatId::F34, LayoutId::F34, "34 Bit", true, kSlices34, kRefusal34},
    SplitColumn{SplitFormatId::F35, LayoutId::F35, "35 Bit", true, kSlices35, kRefusal35},
    SplitColumn{SplitFormatId::F35V, LayoutId::F35V, "35 Bit V", true, kSlices35V, kRefusal35V},
    SplitColumn{SplitFormatId::F36V, LayoutId::F36V, "36 Bit V", true, kSlices36V, kRefusal36V},
    SplitColumn{SplitFormatId::F37V, LayoutId::F37V, "37 Bit V", true, kSlices37V, kRefusal37V},
    SplitColumn{SplitFormatId::F37, LayoutId::F37, "37 Bit", true, kSlices37, kRefusal37},
    SplitColumn{SplitFormatId::Proxif, LayoutId::Proxif, "Proxif", true, kSlicesProxif,
                kRefusalProxif},
    SplitColumn{SplitFormatId::Casi, LayoutId::Casi, "Casi", false, kSlicesCasi, kRefusalCasi},
};
static_assert(kColumns.size() == kSplitFormatCount);

constexpr bool columnsInIdOrder() {
    for (std::size_t i = 0; i < kColumns.size(); ++i) {
        if (static_cast<std::size_t>(kColumns[i].id) != i) return false;
    }
    return true;
}
static_assert(columnsInIdOrder());

constexpr std::array kWriteOrder{
    SplitFormatId::F26,  SplitFormatId::F34,    SplitFormatId::F35V,
    SplitFormatId::F36V, SplitFormatId::F37V,   SplitFormatId::F35,
    SplitFormatId::F37,  SplitFormatId::Proxif, SplitFormatId::Casi,
};
static_assert(kWriteOrder.size() == kSplitFormatCount);

}  // namespace

std::string_view boxName(ResultBox box) { return kBoxNames[static_cast<std::size_t>(box)]; }

std::span<const std::string_view> clearedBoxNames() { return kClearedBoxNames; }

std::string_view gridRowLabel(GridRow row) { return kRowLabels[static_cast<std::size_t>(row)]; }

std::span<const SplitColumn> splitColumns() { return kColumns; }

const SplitColumn& splitColumn(SplitFormatId id) { return kColumns[static_cast<std::size_t>(id)]; }

std::span<const SplitFormatId> splitWriteOrder() { return kWriteOrder; }

}  // namespace morvane
