#include "app/usb_reader_controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>

#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "app/window_state.h"

namespace morvane {

UsbReaderControls::UsbReaderControls(Controls controls, Readers readers, WindowState& state,
                                     MessageBoxes& messages,
                                     std::function<void(const QString&)> putCardData)
    : QObject(controls.read),
      controls_(controls),
      usbReaders_(std::move(readers.library), readers.programFolder),
      state_(state),
      messages_(messages),
      putCardData_(std::move(putCardData)) {
    connect(controls_.reinitialize, &QPushButton::clicked, this, [this] { reinitializeReaders(); });
    connect(controls_.read, &QPushButton::clicked, this, [this] { readCard(); });
}

void UsbReaderControls::discover() { reinitializeReaders(); }

// Connects the readers anew and programs the active one from Default.hwg. A new LUID waiting in
// the hidden LuidEntry box goes to the reader, and the box is emptied once it has.
void UsbReaderControls::reinitializeReaders() {
    usbReaders_.setLuidEntry(toStd(controls_.luidEntry->text()));
    usbReaders_.reinitialize();
    showReaders();
}

// The hidden LuidList shows what the readers were last listed as, the active one selected.
void UsbReaderControls::showReaders() {
    controls_.luidEntry->setText(toQt(usbReaders_.LuidEntry()));
    QComboBox& combo = *controls_.luidList;
    combo.clear();
    const LuidList& list = usbReaders_.luidList();
    for (const LuidListEntry& entry : list.entries()) combo.addItem(toQt(entry.text), entry.value);
    combo.setCurrentIndex(list.selectedIndex());
    controls_.read->setEnabled(usbReaders_.USBReaderFound());
    state_.setReaderFound(usbReaders_.USBReaderFound());
}

// The card data replaces what the box held, and with it the earlier Split Data results.
void UsbReaderControls::readCard() {
    const std::string cardData = usbReaders_.ReadUSBCard(messageSink_);
    putCardData_(toQt(cardData));
}

void UsbReaderControls::Messages::showMessage(std::string_view text) {
    controls_.messages_.show(controls_.controls_.read->window(), Message{.text = toQt(text)});
}

void UsbReaderControls::Messages::showCritical(std::string_view text, std::string_view title) {
    controls_.messages_.show(controls_.controls_.read->window(),
                             Message{.text = toQt(text),
                                     .title = toQt(title),
                                     .icon = QMessageBox::Critical,
                                     .buttons = QMessageBox::Ok});
}

}  // namespace morvane
