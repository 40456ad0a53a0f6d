#pragma once

#include <QObject>
#include <functional>
#include <string>
#include <vector>

#include "readers/lock/lock_input_guard.h"
#include "readers/lock/lock_reader.h"
#include "readers/lock/read_from_lock.h"

class QComboBox;
class QPushButton;

namespace morvane {

class MessageBoxes;

// "Read from Lock" and the COM port list beside it. While the lock is awaited the user's input
// is kept off the program, but for Esc, which cancels the read.
class LockReadControls : public QObject {
  public:
    // `putCardData` writes the card data box, whose change handling runs.
    LockReadControls(QPushButton& button, QComboBox& ports, MessageBoxes& messages,
                     std::function<void(const QString&)> putCardData);
    ~LockReadControls() override;

    void fillPortList() { lockButton_.FillComPortList(); }
    // A card read for another page from the selected port; Esc cancels it as it cancels a read
    // of this button's.
    LockCardRead readQuietly() { return lockButton_.readCardQuietly(); }
    // Told when a read starts (true) and ends (false): a lock read is a reader step too.
    void onReading(std::function<void(bool)> reading) { reading_ = std::move(reading); }

  private:
    // The controls the click reads and writes, and the keyboard at the click.
    class View final : public LockButtonView {
      public:
        explicit View(LockReadControls& controls) : controls_(controls) {}
        bool ctrlHeld() const override;
        bool shiftHeld() const override;
        void showMessage(std::string_view text) override;
        void setCardData(const std::string& text) override;
        void setCaption(const std::string& text) override;
        std::string selectedPort() const override;
        void setPorts(const std::vector<std::string>& ports) override;

      private:
        LockReadControls& controls_;
    };

    QPushButton& button_;
    QComboBox& ports_;
    MessageBoxes& messages_;
    std::function<void(const QString&)> putCardData_;
    std::function<void(bool)> reading_ = [](bool) {};
    LockReader lock_;
    LockInputGuard inputGuard_{lock_};
    View view_{*this};
    ReadFromLock lockButton_{view_, lock_};
};

}  // namespace morvane
