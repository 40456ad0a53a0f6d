// The nine card format option buttons of the Data Input page, and QRV mode holding them.
#include <QRadioButton>
#include <array>
#include <utility>

#include "app/data_input_page.h"
#include "app/window_state.h"
#include "ui_data_input_page.h"

namespace morvane {

namespace {

// Each button and the card format code it stands for, top to bottom.
std::array<std::pair<QRadioButton*, std::string_view>, 9> formatButtons(Ui::DataInputPage& ui) {
    return {{{ui.opt26Bit, "26"},
             {ui.opt34Bit, "34"},
             {ui.opt35Bit, "35"},
             {ui.opt35BitV, "35V"},
             {ui.opt36BitV, "36V"},
             {ui.opt37bitV, "37V"},
             {ui.opt37Bit, "37"},
             {ui.optProxif, "Proxif"},
             {ui.optCasi, "Casi"}}};
}

}  // namespace

// Switching a button off runs nothing: only the one switched on has clicked.
void DataInputPage::connectFormatButtons() {
    for (const auto& [button, code] : formatButtons(*ui_)) {
        connect(button, &QRadioButton::toggled, this, [this, code](bool on) {
            if (on) selectFormat(code);
        });
    }
}

void DataInputPage::checkFormatButton(std::string_view code) {
    for (const auto& [button, buttonCode] : formatButtons(*ui_)) {
        if (buttonCode == code) button->setChecked(true);
    }
}

// Only Proxif cards carry a version. Filling an empty version box recalculates under the
// format still in force; the new format's own recalculation follows.
void DataInputPage::selectFormat(std::string_view code) {
    const bool hasVersion = code == "Proxif";
    ui_->txtVersion->setEnabled(hasVersion);
    ui_->lblVersion->setEnabled(hasVersion);
    if (hasVersion && ui_->txtVersion->text().isEmpty())
        ui_->txtVersion->setText(QStringLiteral("0"));
    state_.setCardFormat(std::string(code));
    if (!ui_->txtBoxSerialNo->text().isEmpty()) withErrorHandling([this] { recalculate(); });
}

// A calling program that asks for QRV cards fixes the 37-bit format and its facility code for
// the whole session. The Vorta ID buttons keep their own state; their disabled frame holds them.
void DataInputPage::holdForQrvMode() {
    ui_->opt37Bit->setChecked(true);
    state_.setCardFormat("37");
    QWidget* const held[] = {ui_->fraCardFormat,   ui_->opt26Bit,        ui_->opt34Bit,
                             ui_->opt35Bit,        ui_->opt37Bit,        ui_->optProxif,
                             ui_->optCasi,         ui_->lblFacilityCode, ui_->txtFacilityCode,
                             ui_->txtVersion,      ui_->lblVersion};
    for (QWidget* control : held) control->setEnabled(false);
}

}  // namespace morvane
