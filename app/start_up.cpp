#include <QStringList>

#include "app/clipboard/clipboard_port.h"
#include "app/frm_morvane.h"
#include "app/invocation.h"
#include "morvane/version.h"
#include "ui_frm_morvane.h"

// How the window starts: the settings a calling program left, and the readers.
namespace morvane {

// Runs once while the window loads, before it is shown. A calling program leaves its
// invocation string on the clipboard; any other text, or none, means a stand-alone start. Until
// the clipboard has been read, keys typed at the window are held, so that none is taken under
// settings about to change.
void frmMorvane::Form_Load() {
    ui->cmdOK->setEnabled(false);
    clipboard_.readStartUpText(*this, [this](const ClipboardRead& read) { applyStartUpText(read); });
    ui->txtVersion->setText(QStringLiteral("0"));
    setWindowTitle(QStringLiteral("Morvane [v" MORVANE_VERSION "]"));
    startReaders();
}

void frmMorvane::applyStartUpText(const ClipboardRead& read) {
    const Invocation invocation = readInvocation(read.text);
    if (invocation.present) {
        applyInvocation(invocation);
    } else {
        ui->opt37Bit->setChecked(true);
    }
    showStartUpNotice(read.answered);
    heldKeys_.release();
}

// Said on the window, not in a box: an operator must know before enrolling a card that a
// calling program's settings may be missing, or that the result will not wait for it.
void frmMorvane::showStartUpNotice(bool clipboardRead) {
    QStringList notes;
    if (!clipboardRead) {
        notes << QStringLiteral("The clipboard could not be read in time: no calling program's "
                                "settings were applied, and Morvane runs on its own.");
    }
    if (!clipboard_.keepsTextAfterExit()) {
        notes << QStringLiteral("A result placed on the clipboard lasts only while Morvane runs "
                                "(wl-copy, from wl-clipboard, keeps it).");
    }
    ui->lblStatus->setText(notes.join(QLatin1Char(' ')));
    ui->lblStatus->setVisible(!notes.isEmpty());
}

// The COM port list and the USB readers are brought up here, in that order. The window does not
// wait for the readers: their search ends in the background, and only then may "Read from USB"
// be pressed and the caption say that a reader was found.
void frmMorvane::startReaders() {
    keepLockButtonWidth();
    FillComPortList();
    connect(&readerSteps_, &ReaderSteps::reinitialized, this, &frmMorvane::showReadersFound);
    connect(&readerSteps_, &ReaderSteps::cardRead, this, &frmMorvane::showCardRead);
    connect(&readerSteps_, &ReaderSteps::idle, this, &frmMorvane::showReadersIdle);
    initUsbReaders();
}

void frmMorvane::applyInvocation(const Invocation& invocation) {
    bProxDataOnly = invocation.proxDataOnly;
    if (!invocation.usable) return;  // no format chosen, the facility box left alone

    lFacilityCode = ParseForFacilityCode(invocation.facilityField);
    ui->txtFacilityCode->setText(QString::number(lFacilityCode));

    // Only four codes have a button here; any other code is in force without one showing it.
    sCardFormat = ParseForCardFormat(invocation.cardFormatField);
    const std::pair<const char*, QRadioButton*> buttons[] = {
        {"26", ui->opt26Bit}, {"35", ui->opt35Bit}, {"35V", ui->opt35BitV}, {"37", ui->opt37Bit}};
    for (const auto& [code, button] : buttons) {
        if (sCardFormat == code) button->setChecked(true);
    }

    // QRV mode, switched on, holds the format and facility controls itself.
    bQRVFormat = ParseForQRVFormatFlag(invocation.flagField);
    ui->chkQRVFormat->setChecked(bQRVFormat);
}

}  // namespace morvane
