// "Read from USB" and "Reinitialize USB": the window's side of the pcProx USB readers.
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/frm_morvane.h"
#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "readers/reader_caption.h"
#include "ui_frm_morvane.h"

namespace morvane {

namespace {

// The hidden LuidList shows what the readers were last listed as, the active one selected.
void showLuidList(QComboBox& combo, const LuidList& list) {
    combo.clear();
    for (const LuidListEntry& entry : list.entries()) combo.addItem(toQt(entry.text), entry.value);
    combo.setCurrentIndex(list.selectedIndex());
}

}  // namespace

// Connects the readers anew and programs the active one from Default.hwg, off the window's
// thread. A new LUID waiting in the hidden LuidEntry box goes to the reader, and the box is
// emptied once it has. A click while a reader step runs starts nothing.
void frmMorvane::initUsbReaders() {
    if (readerSteps_.reinitialize(toStd(ui->LuidEntry->text()))) {
        showReaderStepRunning(ui->btnReinitializeUSB);
    }
}

// Once a reader has been seen the caption says so for good, even after it is unplugged.
void frmMorvane::showReadersFound(const ReinitializeOutcome& outcome) {
    usbReaderFound_ = outcome.readerFound;
    ui->LuidEntry->setText(toQt(outcome.luidEntry));
    showLuidList(*ui->LuidList, outcome.luidList);
    markCaptionForReader();
}

void frmMorvane::markCaptionForReader() {
    setWindowTitle(toQt(captionWithReaderMarker(toStd(windowTitle()), usbReaderFound_)));
}

void frmMorvane::btnReinitializeUSB_Click() { initUsbReaders(); }

void frmMorvane::btnReadUSB_Click() {
    ui->txtData->setFocus(Qt::OtherFocusReason);
    if (readerSteps_.readCard()) showReaderStepRunning(ui->btnReadUSB);
}

// The card data lands in txtData, whose change handling empties the earlier Split Data results.
void frmMorvane::showCardRead(const CardReadOutcome& outcome) {
    for (const CardReadMessage& m : outcome.messages) {
        if (m.title.empty()) {
            showMessage(m.text);
        } else {
            showCritical(m.text, m.title);
        }
    }
    ui->txtData->setText(toQt(outcome.cardData));
}

// One reader step at a time, the lock read included: the step's own button stays pressed and
// none of the reader buttons takes a click. Captions stay, so no button moves; Esc still reaches
// a waiting lock read through its input guard.
void frmMorvane::showReaderStepRunning(QPushButton* stepButton) {
    for (QPushButton* b : {ui->btnReadUSB, ui->btnReinitializeUSB, ui->cmdGetCard}) {
        b->setEnabled(false);
    }
    stepButton->setDown(true);
    stepButton->setCursor(Qt::BusyCursor);
}

void frmMorvane::showReadersIdle() {
    for (QPushButton* b : {ui->btnReadUSB, ui->btnReinitializeUSB, ui->cmdGetCard}) {
        b->setDown(false);
        b->unsetCursor();
        b->setEnabled(b != ui->btnReadUSB || usbReaderFound_);
    }
}

void frmMorvane::showCritical(std::string_view text, std::string_view title) {
    messages_.show(this, Message{.text = toQt(text),
                                 .title = toQt(title),
                                 .icon = QMessageBox::Critical,
                                 .buttons = QMessageBox::Ok});
}

}  // namespace morvane
