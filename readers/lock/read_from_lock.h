#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "readers/lock/com_port_check.h"
#include "readers/lock/lock_control.h"

// The "Read from Lock" button and the COM port list beside it, apart from any widget.
namespace morvane {

// What the click reads and writes in the window.
class LockButtonView {
  public:
    virtual ~LockButtonView() = default;
    // Ctrl and Shift as they are held at the moment of the click.
    virtual bool ctrlHeld() const = 0;
    virtual bool shiftHeld() const = 0;
    // Modal, OK button only, the program's title.
    virtual void showMessage(std::string_view text) = 0;
    // txtData, whose change handling runs on every write.
    virtual void setCardData(const std::string& text) = 0;
    // cmdGetCard's caption.
    virtual void setCaption(const std::string& text) = 0;
    // ComboComPort, a drop-down list the user cannot type into: the selected entry, empty when
    // the list is; and the list emptied, filled in order and its first entry selected.
    virtual std::string selectedPort() const = 0;
    virtual void setPorts(const std::vector<std::string>& ports) = 0;
};

inline constexpr const char* kCaptionWaiting = "press 'ESC' to cancel";
inline constexpr const char* kCaptionAfterRead = "Read Card From Lock";
inline constexpr std::int16_t kCardReadWaitValue = 7500;
inline constexpr std::int16_t kLockInfoWaitValue = 5000;

// A card read for a page other than the lock's own: the card data, or why there is none in the
// words the button's message box would have used.
struct LockCardRead {
    std::string cardData;
    std::string failure;  // empty when a card was read
};

class ReadFromLock {
  public:
    ReadFromLock(LockButtonView& view, LockControl& lock, ComPortProbe probe = CheckComPort);

    // Fills the port list with the ports that open now, first one selected.
    void FillComPortList();

    // The click of cmdGetCard: the Ctrl form, the Shift form or the card read.
    void cmdGetCard_Click();

    // A card read from the selected port that shows nothing and writes no box or caption.
    LockCardRead readCardQuietly();

  private:
    std::optional<std::int16_t> selectedOpenPort();
    std::optional<std::int16_t> openPort(std::string& why);
    void showStatus(std::int32_t status, bool cardRead);
    std::string failureText(std::int32_t status, bool cardRead) const;

    LockButtonView& view_;
    LockControl& lock_;
    ComPortProbe probe_;
};

}  // namespace morvane
