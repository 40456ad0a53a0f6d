#pragma once

#include <QObject>
#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/reader_steps.h"

class QComboBox;
class QLineEdit;
class QPushButton;

namespace morvane {

class MessageBoxes;
class WindowState;

// The Split Data page's side of the pcProx USB readers: discovery at start-up, "Reinitialize
// USB", "Read from USB", and the hidden LuidEntry box and LuidList. The steps run off the
// window's thread, one at a time across every reader button, the lock's included.
class UsbReaderControls : public QObject {
  public:
    struct Controls {
        QPushButton* read;          // btnReadUSB
        QPushButton* reinitialize;  // btnReinitializeUSB
        QPushButton* lockRead;      // cmdGetCard, a reader step of its own
        QLineEdit* luidEntry;
        QComboBox* luidList;
    };
    struct Readers {
        std::unique_ptr<ReaderLibrary> library;  // none: no reader
        std::filesystem::path programFolder;     // where Default.hwg is looked for
        std::chrono::milliseconds deadline = kReaderStepDeadline;
    };
    // `putCardData` writes the card data box, whose change handling runs, and says how many
    // bits the reader counted on the card.
    using PutCardData = std::function<void(const QString& cardData, int bitCount)>;
    using ReadDone = std::function<void(const CardReadOutcome&)>;
    UsbReaderControls(Controls controls, Readers readers, WindowState& state,
                      MessageBoxes& messages, PutCardData putCardData);

    // Start-up: the readers connected and the active one programmed from Default.hwg, in the
    // background.
    void discover();
    // A read for another page: its outcome goes to `done`, never to a box or a message box.
    // False while a step runs.
    bool readFor(ReadDone done);
    // While a step runs its button (if it is one of this page's) stays pressed and no reader
    // button takes a click; captions stay, so no button moves.
    void showStepRunning(QPushButton* stepButton);
    void showIdle();

  private:
    void reinitializeReaders();
    void readCard();
    void showReaders(const ReinitializeOutcome& outcome);
    void showCardRead(const CardReadOutcome& outcome);
    QList<QPushButton*> stepButtons() const;

    Controls controls_;
    ReaderSteps steps_;
    WindowState& state_;
    MessageBoxes& messages_;
    PutCardData putCardData_;
    ReadDone readFor_;  // the page waiting for the running read; none: this page
};

}  // namespace morvane
