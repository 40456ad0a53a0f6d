// The Split Data page: card data to hotstamp, facility code and version under every format.
#include <QLineEdit>

#include "app/bit_map_panel.h"
#include "app/frm_morvane.h"
#include "app/qt_text.h"
#include "app/split_boxes.h"
#include "formats/split_data.h"
#include "ui_frm_morvane.h"

namespace morvane {

QLineEdit* frmMorvane::resultBox(std::string_view name) const {
    return findChild<QLineEdit*>(toQt(name));
}

// Results never stand beside card data they were not split from.
void frmMorvane::txtData_Change() {
    for (std::string_view name : kClearedBoxNames) {
        if (QLineEdit* box = resultBox(name)) box->clear();
    }
    if (bitMap_ != nullptr) bitMap_->clearSplit();
}

void frmMorvane::cmdStart_Click() {
    txtData_Change();
    const SplitResult result = SplitData(toStd(ui->txtData->text()));
    ui->txtBits->setText(toQt(bitData(result)));
    for (SplitFormatId id : splitWriteOrder()) {
        for (std::size_t row = 0; row < kGridRowCount; ++row) {
            const auto r = static_cast<GridRow>(row);
            if (QLineEdit* target = resultBox(resultBoxName(id, r))) {
                target->setText(toQt(cellText(result, id, r)));
            }
        }
    }
    bitMap_->showSplit();
}

}  // namespace morvane
