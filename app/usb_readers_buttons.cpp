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

// Connects the readers anew and programs the active one from Default.hwg. A new LUID waiting in
// the hidden LuidEntry box goes to the reader, and the box is emptied once it has.
void frmMorvane::initUsbReaders() {
    usbReaders_.setLuidEntry(toStd(ui->LuidEntry->text()));
    usbReaders_.reinitialize();
    ui->LuidEntry->setText(toQt(usbReaders_.LuidEntry()));
    showLuidList(*ui->LuidList, usbReaders_.luidList());
    ui->btnReadUSB->setEnabled(usbReaders_.USBReaderFound());
}

// Once a reader has been seen the caption says so for good, even after it is unplugged.
void frmMorvane::markCaptionForReader() {
    setWindowTitle(
        toQt(captionWithReaderMarker(toStd(windowTitle()), usbReaders_.USBReaderFound())));
}

void frmMorvane::btnReinitializeUSB_Click() {
    initUsbReaders();
    markCaptionForReader();
}

// The card data lands in txtData, whose change handling empties the earlier Split Data results.
void frmMorvane::btnReadUSB_Click() {
    ui->txtData->setFocus(Qt::OtherFocusReason);
    ui->txtData->setText(toQt(usbReaders_.ReadUSBCard(messageSink_)));
}

void frmMorvane::showCritical(std::string_view text, std::string_view title) {
    messages_.show(this, Message{.text = toQt(text),
                                 .title = toQt(title),
                                 .icon = QMessageBox::Critical,
                                 .buttons = QMessageBox::Ok});
}

}  // namespace morvane
