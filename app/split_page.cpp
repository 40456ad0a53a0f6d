// The Split Data page: card data to hotstamp, facility code and version under every format.
#include <QLineEdit>

#include "app/bit_map_panel.h"
#include "app/frm_morvane.h"
#include "app/qt_text.h"
#include "formats/split_data.h"
#include "ui_frm_morvane.h"

namespace morvane {

QLineEdit* frmMorvane::resultBox(std::string_view name) const {
    return findChild<QLineEdit*>(toQt(name));
}

// Results never stand beside card data they were not split from.
void frmMorvane::txtData_Change() {
    for (std::string_view name : clearedBoxNames()) {
        if (QLineEdit* box = resultBox(name)) box->clear();
    }
    if (bitMap_ != nullptr) bitMap_->clearSplit();
}

void frmMorvane::cmdStart_Click() {
    txtData_Change();
    const SplitResult result = SplitData(toStd(ui->txtData->text()));
    ui->txtBits->setText(toQt(result.bitData));
    for (std::size_t i = 0; i < kResultBoxCount; ++i) {
        const auto box = static_cast<ResultBox>(i);
        if (QLineEdit* target = resultBox(boxName(box))) target->setText(toQt(result.box(box)));
    }
    bitMap_->showSplit();
}

}  // namespace morvane
