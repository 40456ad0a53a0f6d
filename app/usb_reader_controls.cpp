#include "app/usb_reader_controls.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <utility>

#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "app/window_state.h"

namespace morvane {

UsbReaderControls::UsbReaderControls(Controls controls, Readers readers, WindowState& state,
                                     MessageBoxes& messages,
                                     PutCardData putCardData)
    : QObject(controls.read),
      controls_(controls),
      steps_(std::move(readers.library), readers.programFolder, readers.deadline),
      state_(state),
      messages_(messages),
      putCardData_(std::move(putCardData)) {
    connect(controls_.reinitialize, &QPushButton::clicked, this, [this] { reinitializeReaders(); });
    connect(controls_.read, &QPushButton::clicked, this, [this] { readCard(); });
    connect(&steps_, &ReaderSteps::reinitialized, this, &UsbReaderControls::showReaders);
    connect(&steps_, &ReaderSteps::cardRead, this, &UsbReaderControls::showCardRead);
    connect(&steps_, &ReaderSteps::idle, this, &UsbReaderControls::showIdle);
}

void UsbReaderControls::discover() { reinitializeReaders(); }

// Connects the readers anew and programs the active one from Default.hwg. A new LUID waiting in
// the hidden LuidEntry box goes to the reader, and the box is emptied once it has. A click
// while a reader step runs starts nothing.
void UsbReaderControls::reinitializeReaders() {
    if (steps_.reinitialize(toStd(controls_.luidEntry->text()))) {
        showStepRunning(controls_.reinitialize);
    }
}

// The hidden LuidList shows what the readers were last listed as, the active one selected.
void UsbReaderControls::showReaders(const ReinitializeOutcome& outcome) {
    controls_.luidEntry->setText(toQt(outcome.luidEntry));
    QComboBox& combo = *controls_.luidList;
    combo.clear();
    for (const LuidListEntry& entry : outcome.luidList.entries()) {
        combo.addItem(toQt(entry.text), entry.value);
    }
    combo.setCurrentIndex(outcome.luidList.selectedIndex());
    state_.setReaderFound(outcome.readerFound);
}

void UsbReaderControls::readCard() {
    if (steps_.readCard()) showStepRunning(controls_.read);
}

bool UsbReaderControls::readFor(ReadDone done) {
    if (!steps_.readCard()) return false;
    readFor_ = std::move(done);
    showStepRunning(nullptr);
    return true;
}

// The boxes the read would have shown come first; then the card data replaces what the box
// held, and with it the earlier Split Data results.
void UsbReaderControls::showCardRead(const CardReadOutcome& outcome) {
    if (readFor_) {
        std::exchange(readFor_, {})(outcome);
        return;
    }
    QWidget* window = controls_.read->window();
    for (const CardReadMessage& m : outcome.messages) {
        Message box{.text = toQt(m.text)};
        if (!m.title.empty()) {
            box = {.text = toQt(m.text), .title = toQt(m.title), .icon = QMessageBox::Critical};
        }
        messages_.show(window, box);
    }
    putCardData_(toQt(outcome.cardData), outcome.bitCount);
}

QList<QPushButton*> UsbReaderControls::stepButtons() const {
    return {controls_.read, controls_.reinitialize, controls_.lockRead};
}

void UsbReaderControls::showStepRunning(QPushButton* stepButton) {
    for (QPushButton* b : stepButtons()) b->setEnabled(false);
    if (stepButton != nullptr) {
        stepButton->setDown(true);
        stepButton->setCursor(Qt::BusyCursor);
    }
    state_.setReaderStepRunning(true);
}

void UsbReaderControls::showIdle() {
    for (QPushButton* b : stepButtons()) {
        b->setDown(false);
        b->unsetCursor();
        b->setEnabled(b != controls_.read || state_.readerFound());
    }
    state_.setReaderStepRunning(false);
}

}  // namespace morvane
