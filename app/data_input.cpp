// The Data Input page: the hotstamp, facility code and version boxes, Enter and "Convert".
#include <QLineEdit>
#include <QPushButton>

#include "app/bit_map_panel.h"
#include "app/frm_morvane.h"
#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "formats/card_format.h"
#include "formats/numeric_error.h"
#include "formats/numeric_text.h"
#include "formats/prox_data.h"
#include "ui_frm_morvane.h"

namespace morvane {

namespace {

// Writing the trimmed text back runs the box's own change handling when blanks went away.
void putTrimmed(QLineEdit* box) { box->setText(toQt(trimSpaces(toStd(box->text())))); }

}  // namespace

void frmMorvane::recalculate() {
    ui->txtBoxProxData->setText(
        toQt(CalcProxData(toStd(ui->txtBoxSerialNo->text()), sCardFormat, lFacilityCode, boxes_)
                 .view()));
    if (bitMap_ != nullptr) bitMap_->refreshBuilt();
}

// A facility code too large for its conversion, or an error from the calculation, is shown as
// "6 Overflow" and leaves the facility box empty for the user to type again.
void frmMorvane::withErrorHandling(const std::function<void()>& steps) {
    try {
        steps();
    } catch (const NumericError& error) {
        reportError(error);
    }
}

void frmMorvane::reportError(const NumericError& error) {
    messages_.show(this, Message{.text = toQt(error.text())});
    ui->txtFacilityCode->clear();
}

// Text that is not a hotstamp becomes "0" once a facility code is there; with no facility
// code yet, the facility box gets "0" and does the recalculation itself.
void frmMorvane::txtBoxSerialNo_Change() {
    ui->txtBoxProxData->clear();
    withErrorHandling([this] {
        putTrimmed(ui->txtBoxSerialNo);
        if (ui->txtFacilityCode->text().isEmpty()) {
            lFacilityCode = 0;
            ui->txtFacilityCode->setText(QStringLiteral("0"));
            return;
        }
        lFacilityCode = textToInt32(boxes_.facilityBox());
        const std::string hotstamp = toStd(ui->txtBoxSerialNo->text());
        if (IsNumeric(hotstamp)) {
            recalculate();
        } else if (!hotstamp.empty()) {
            ui->txtBoxSerialNo->setText(QStringLiteral("0"));
        }
    });
}

// One press of Enter is a key-down and a character, and each of them runs the steps; Qt reports
// the press once, so both runs happen here. A message from the calculation shows twice.
void frmMorvane::txtBoxSerialNo_Enter() {
    for (int run = 0; run < 2; ++run) {
        withErrorHandling([this] {
            recalculate();
            enableOKForResult();
        });
    }
}

// "&OK" may hand back any result but the no-result value; once enabled it takes the focus,
// so that a further Enter presses it.
void frmMorvane::enableOKForResult() {
    if (toStd(ui->txtBoxProxData->text()) != kNoResult) {
        ui->cmdOK->setEnabled(true);
        ui->cmdOK->setFocus(Qt::OtherFocusReason);
    } else {
        ui->cmdOK->setEnabled(false);
    }
}

// An emptied facility box keeps the facility code in force until the hotstamp changes.
void frmMorvane::facilityBoxSteps() {
    putTrimmed(ui->txtFacilityCode);
    const std::string facility = boxes_.facilityBox();
    if (IsNumeric(facility)) {
        lFacilityCode = textToInt32(facility);
        recalculate();
    } else if (!facility.empty()) {
        ui->txtFacilityCode->setText(QStringLiteral("0"));
    }
}

void frmMorvane::txtFacilityCode_Change() {
    withErrorHandling([this] { facilityBoxSteps(); });
}

void frmMorvane::txtFacilityCode_LostFocus() {
    withErrorHandling([this] { facilityBoxSteps(); });
}

// A version change takes the facility code through the narrower 16-bit conversion.
void frmMorvane::txtVersion_Change() {
    withErrorHandling([this] {
        putTrimmed(ui->txtVersion);
        const std::string version = boxes_.versionBox();
        if (IsNumeric(version)) {
            if (!ui->txtFacilityCode->text().isEmpty())
                lFacilityCode = textToInt16(boxes_.facilityBox());
            recalculate();
        } else if (!version.empty()) {
            ui->txtVersion->setText(QStringLiteral("0"));
        }
    });
}

// An empty facility or version box is filled with "0" first; only a press with both filled
// decides about "&OK".
void frmMorvane::cmdConvert_Click() {
    withErrorHandling([this] {
        if (ui->txtFacilityCode->text().isEmpty()) {
            lFacilityCode = 0;
            ui->txtFacilityCode->setText(QStringLiteral("0"));
            return;
        }
        lFacilityCode = textToInt32(boxes_.facilityBox());
        if (ui->txtVersion->text().isEmpty()) {
            ui->txtVersion->setText(QStringLiteral("0"));
            return;
        }
        recalculate();
        enableOKForResult();
    });
}

}  // namespace morvane
