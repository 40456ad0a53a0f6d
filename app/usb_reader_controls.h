#pragma once

#include <QObject>
#include <filesystem>
#include <functional>
#include <memory>
#include <string_view>

#include "readers/card_read_messages.h"
#include "readers/usb_readers.h"

class QComboBox;
class QLineEdit;
class QPushButton;
class QWidget;

namespace morvane {

class MessageBoxes;
class WindowState;

// The Split Data page's side of the pcProx USB readers: discovery at start-up, "Reinitialize
// USB", "Read from USB", and the hidden LuidEntry box and LuidList. Each reader step is one of
// the functions below and calls the readers straight through.
class UsbReaderControls : public QObject {
  public:
    struct Controls {
        QPushButton* read;          // btnReadUSB
        QPushButton* reinitialize;  // btnReinitializeUSB
        QLineEdit* luidEntry;
        QComboBox* luidList;
    };
    struct Readers {
        std::unique_ptr<ReaderLibrary> library;  // none: no reader
        std::filesystem::path programFolder;     // where Default.hwg is looked for
    };

    // `putCardData` writes the card data box, whose change handling runs.
    UsbReaderControls(Controls controls, Readers readers, WindowState& state,
                      MessageBoxes& messages, std::function<void(const QString&)> putCardData);

    // Start-up: the readers connected and the active one programmed from Default.hwg.
    void discover();

  private:
    // The window's message boxes as the card read shows them.
    class Messages final : public CardReadMessages {
      public:
        explicit Messages(UsbReaderControls& controls) : controls_(controls) {}
        void showMessage(std::string_view text) override;
        void showCritical(std::string_view text, std::string_view title) override;

      private:
        UsbReaderControls& controls_;
    };

    void reinitializeReaders();
    void readCard();
    void showReaders();

    Controls controls_;
    UsbReaders usbReaders_;
    WindowState& state_;
    MessageBoxes& messages_;
    Messages messageSink_{*this};
    std::function<void(const QString&)> putCardData_;
};

}  // namespace morvane
