#include <QStringList>

#include "app/clipboard/clipboard_port.h"
#include "app/data_input_page.h"
#include "app/frm_morvane.h"
#include "app/invocation.h"
#include "app/qt_text.h"
#include "app/split_data_page.h"
#include "morvane/version.h"
#include "readers/reader_caption.h"
#include "ui_frm_morvane.h"

// How the window starts: the settings a calling program left, and the readers.
namespace morvane {

// Runs once while the window loads, before it is shown. A calling program leaves its
// invocation string on the clipboard; any other text, or none, means a stand-alone start. Until
// the clipboard has been read, keys typed at the window are held, so that none is taken under
// settings about to change.
void frmMorvane::startUp() {
    ui_->cmdOK->setEnabled(false);
    clipboard_.readStartUpText(*this, [this](const ClipboardRead& read) { applyStartUpText(read); });
    dataInput_->setVersionText(QStringLiteral("0"));
    setWindowTitle(QStringLiteral("Morvane [v" MORVANE_VERSION "]"));
    splitData_->startReaders();
    showPageOnMap();
}

void frmMorvane::applyStartUpText(const ClipboardRead& read) {
    const Invocation invocation = readInvocation(read.text);
    if (invocation.present) {
        applyInvocation(invocation);
    } else {
        dataInput_->checkFormatButton("37");
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
    ui_->lblStatus->setText(notes.join(QLatin1Char(' ')));
    ui_->lblStatus->setVisible(!notes.isEmpty());
}

void frmMorvane::applyInvocation(const Invocation& invocation) {
    state_.setProxDataOnly(invocation.proxDataOnly);
    if (!invocation.usable) return;  // no format chosen, the facility box left alone

    state_.setFacilityCode(ParseForFacilityCode(invocation.facilityField));
    dataInput_->setFacilityText(QString::number(state_.facilityCode()));

    // Only four codes have a button here; any other code is in force without one showing it.
    const std::string code = ParseForCardFormat(invocation.cardFormatField);
    state_.setCardFormat(code);
    for (const char* withButton : {"26", "35", "35V", "37"}) {
        if (code == withButton) dataInput_->checkFormatButton(code);
    }

    // QRV mode holds the format and facility controls itself.
    if (ParseForQRVFormatFlag(invocation.flagField)) state_.enterQrvMode();
}

// Once a reader has been seen the caption says so for good, even after it is unplugged.
void frmMorvane::markCaptionForReader() {
    setWindowTitle(toQt(captionWithReaderMarker(toStd(windowTitle()), state_.readerFound())));
}

}  // namespace morvane
