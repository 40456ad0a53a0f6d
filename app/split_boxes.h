#pragma once

#include <array>
#include <string_view>

#include "formats/split_catalogue.h"

// Which box of the Split Data page shows which value of which format: the window's own
// business, kept beside the page's code.
namespace morvane {

inline constexpr std::string_view kBitDataBoxName = "txtBits";

// Per column, in page order, the boxes of its rows: hotstamp, facility code, version, and the
// number without facility code; empty where the column has no such row.
inline constexpr std::array<std::array<std::string_view, kGridRowCount>, kSplitFormatCount>
    kResultBoxNames{{
        {"txt26Num", "txt26Fac", "", ""},
        {"txt34Num", "txt34Fac", "", ""},
        {"txt35Num", "txt35Fac", "", ""},
        {"txt35VNum", "txt35VFac", "", ""},
        {"txt36VNum", "txt36VFac", "", ""},
        {"txt37VNum", "txt37VFac", "", ""},
        {"txt37Num", "txt37Fac", "", "txt37Number"},
        {"txtProxifNum", "txtProxifFac", "txtProxifVer", ""},
        {"txtCasiNum", "txtCasiFac", "", ""},
    }};

constexpr std::string_view resultBoxName(SplitFormatId id, GridRow row) {
    return kResultBoxNames[static_cast<std::size_t>(id)][static_cast<std::size_t>(row)];
}

// The boxes a change of the card data empties, in that order.
inline constexpr std::array<std::string_view, 21> kClearedBoxNames{
    "txt26Num",     "txtBits",    "txt35VNum",  "txt35VFac",   "txt36VNum",    "txt36VFac",
    "txt37VNum",    "txt37VFac",  "txt35Num",   "txt35Fac",    "txt34Num",     "txt34Fac",
    "txt26Fac",     "txt37Num",   "txt37Fac",   "txt37Number", "txtProxifNum", "txtProxifFac",
    "txtProxifVer", "txtCasiNum", "txtCasiFac",
};

}  // namespace morvane
