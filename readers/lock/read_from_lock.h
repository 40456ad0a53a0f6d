#pragma once

#include <string>
#include <vector>

#include "formats/encoder_host.h"
#include "readers/lock/com_port_check.h"
#include "readers/lock/lock_control.h"

// The "Read from Lock" button and the COM port list beside it, apart from any widget: the
// window hands in its keys, message box, card data box, button caption and port list.
namespace morvane {

// The Ctrl and Shift keys as they are held at the moment of the click.
class ModifierKeys {
  public:
    virtual ~ModifierKeys() = default;
    virtual bool ctrlHeld() const = 0;
    virtual bool shiftHeld() const = 0;
};

// A text the click writes: the card data box txtData (whose change handling runs on every
// write) or the button's caption.
class TextTarget {
  public:
    virtual ~TextTarget() = default;
    virtual void setText(const std::string& text) = 0;
};

// ComboComPort, a drop-down list the user cannot type into.
class ComPortList {
  public:
    virtual ~ComPortList() = default;
    // The selected entry, empty when the list is.
    virtual std::string currentText() const = 0;
    // Empties the list, appends the entries in order and selects the first one, if any.
    virtual void setEntries(const std::vector<std::string>& entries) = 0;
};

inline constexpr const char* kCaptionWaiting = "press 'ESC' to cancel";
inline constexpr const char* kCaptionAfterRead = "Read Card From Lock";
inline constexpr std::int16_t kCardReadWaitValue = 7500;
inline constexpr std::int16_t kLockInfoWaitValue = 5000;

class ReadFromLock {
  public:
    struct Window {
        const ModifierKeys& keys;
        MessageSink& messages;  // modal, OK button only, the program's title
        TextTarget& txtData;
        TextTarget& cmdGetCardCaption;
        ComPortList& ComboComPort;
    };

    ReadFromLock(Window window, LockControl& lock, ComPortProbe probe = CheckComPort);

    // Fills the port list with the ports that open now, first one selected.
    void FillComPortList();

    // The click of cmdGetCard: the Ctrl form, the Shift form or the card read.
    void cmdGetCard_Click();

  private:
    void showStatus(std::int32_t status, bool cardRead);

    Window window_;
    LockControl& lock_;
    ComPortProbe probe_;
};

}  // namespace morvane
