// The nine card format option buttons and the QRV check box.
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include "app/frm_morvane.h"
#include "ui_frm_morvane.h"

namespace morvane {

void frmMorvane::opt26Bit_Click() { selectFormat("26"); }
void frmMorvane::opt34Bit_Click() { selectFormat("34"); }
void frmMorvane::opt35Bit_Click() { selectFormat("35"); }
void frmMorvane::opt35BitV_Click() { selectFormat("35V"); }
void frmMorvane::opt36BitV_Click() { selectFormat("36V"); }
void frmMorvane::opt37bitV_Click() { selectFormat("37V"); }
void frmMorvane::opt37Bit_Click() { selectFormat("37"); }
void frmMorvane::optProxif_Click() { selectFormat("Proxif"); }
void frmMorvane::optCasi_Click() { selectFormat("Casi"); }

// Only Proxif cards carry a version. Filling an empty version box recalculates under the
// format still in force; the new format's own recalculation follows.
void frmMorvane::selectFormat(std::string_view code) {
    const bool hasVersion = code == "Proxif";
    ui->txtVersion->setEnabled(hasVersion);
    ui->lblVersion->setEnabled(hasVersion);
    if (hasVersion && ui->txtVersion->text().isEmpty())
        ui->txtVersion->setText(QStringLiteral("0"));
    sCardFormat = code;
    if (!ui->txtBoxSerialNo->text().isEmpty()) withErrorHandling([this] { recalculate(); });
}

// A calling program that asks for QRV cards fixes the 37-bit format and its facility code for
// the whole session. The Vorta ID buttons keep their own state; their disabled frame holds them.
void frmMorvane::chkQRVFormat_Click() {
    if (!ui->chkQRVFormat->isChecked()) return;
    ui->opt37Bit->setChecked(true);
    sCardFormat = "37";
    bQRVFormat = true;
    QWidget* const held[] = {ui->fraCardFormat, ui->opt26Bit,        ui->opt34Bit,
                             ui->opt35Bit,      ui->opt37Bit,        ui->optProxif,
                             ui->optCasi,       ui->lblFacilityCode, ui->txtFacilityCode,
                             ui->txtVersion,    ui->lblVersion,      ui->chkQRVFormat29};
    for (QWidget* control : held) {
        control->setEnabled(false);
    }
}

}  // namespace morvane
