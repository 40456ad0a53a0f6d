#pragma once

#include <array>

#include "formats/split_catalogue.h"
#include "ui_split_data_page.h"

// Which control of the Split Data page shows which column and row: the window's own business,
// kept beside the page's code. Written as the page's members, so that a box the page lacks
// does not build.
namespace morvane {

using PageBox = QLineEdit* Ui::SplitDataPage::*;
using PageLabel = QLabel* Ui::SplitDataPage::*;

struct ColumnControls {
    PageLabel heading;
    // Its rows: hotstamp, facility code, version, and the number without facility code; none
    // where the column has no such row.
    std::array<PageBox, kGridRowCount> boxes;
};

// Per column, in page order.
inline constexpr std::array<ColumnControls, kSplitFormatCount> kColumnControls{{
    {&Ui::SplitDataPage::lbl26Bit, {&Ui::SplitDataPage::txt26Num, &Ui::SplitDataPage::txt26Fac}},
    {&Ui::SplitDataPage::Label6, {&Ui::SplitDataPage::txt34Num, &Ui::SplitDataPage::txt34Fac}},
    {&Ui::SplitDataPage::lbl35Bit, {&Ui::SplitDataPage::txt35Num, &Ui::SplitDataPage::txt35Fac}},
    {&Ui::SplitDataPage::lbl35V, {&Ui::SplitDataPage::txt35VNum, &Ui::SplitDataPage::txt35VFac}},
    {&Ui::SplitDataPage::Label4, {&Ui::SplitDataPage::txt36VNum, &Ui::SplitDataPage::txt36VFac}},
    {&Ui::SplitDataPage::Label5, {&Ui::SplitDataPage::txt37VNum, &Ui::SplitDataPage::txt37VFac}},
    {&Ui::SplitDataPage::lbl37Bit,
     {&Ui::SplitDataPage::txt37Num, &Ui::SplitDataPage::txt37Fac, nullptr,
      &Ui::SplitDataPage::txt37Number}},
    {&Ui::SplitDataPage::lblProxif,
     {&Ui::SplitDataPage::txtProxifNum, &Ui::SplitDataPage::txtProxifFac,
      &Ui::SplitDataPage::txtProxifVer}},
    {&Ui::SplitDataPage::lblCasi,
     {&Ui::SplitDataPage::txtCasiNum, &Ui::SplitDataPage::txtCasiFac}},
}};

}  // namespace morvane
