#include "readers/lock/read_from_lock.h"

#include <optional>
#include <utility>

#include "formats/numeric_error.h"
#include "formats/numeric_text.h"

namespace morvane {
namespace {

std::optional<std::int16_t> portNumber(const std::string& text) {
    const auto value = parseNumber(text);
    return value ? fitInt16(*value) : std::nullopt;
}

}  // namespace

ReadFromLock::ReadFromLock(Window window, LockControl& lock, ComPortProbe probe)
    : window_(window), lock_(lock), probe_(std::move(probe)) {}

void ReadFromLock::FillComPortList() { window_.ComboComPort.setEntries(openableComPorts(probe_)); }

void ReadFromLock::cmdGetCard_Click() {
    // Ctrl comes first and needs no port, so Ctrl+Shift gives this form too.
    if (window_.keys.ctrlHeld()) {
        window_.messages.showMessage(lock_.aboutText());
        lock_.reset();
        return;
    }

    const std::string selected = window_.ComboComPort.currentText();
    if (selected.empty()) {
        window_.messages.showMessage("No comport selected");
        FillComPortList();
        return;
    }
    // The list holds only the texts it was filled with, so a port number that does not read
    // is as unusable as a port that does not open.
    const std::optional<std::int16_t> port = portNumber(selected);
    if (!port || !probe_(*port)) {
        window_.messages.showMessage("Error opening selected comport");
        FillComPortList();
        return;
    }

    if (window_.keys.shiftHeld()) {
        lock_.setPort(*port);
        lock_.setWaitValue(kLockInfoWaitValue);
        showStatus(lock_.readLockInfo(), false);
        return;
    }

    window_.cmdGetCardCaption.setText(kCaptionWaiting);
    window_.txtData.setText("");
    lock_.setPort(*port);
    lock_.setWaitValue(kCardReadWaitValue);
    showStatus(lock_.readCard(), true);
    window_.cmdGetCardCaption.setText(kCaptionAfterRead);
}

void ReadFromLock::showStatus(std::int32_t status, bool cardRead) {
    if (status == lock_.statusSuccess()) {
        if (cardRead) {
            window_.txtData.setText(lock_.cardData());
        } else {
            window_.messages.showMessage(lock_.lockInfo());
        }
    } else if (status == lock_.statusCancelled()) {
        window_.messages.showMessage("Cancelled");
    } else if (status == lock_.statusTimeout()) {
        window_.messages.showMessage("Timeout");
    } else if (status == lock_.statusError()) {
        const bool portNotOpened =
            lock_.errorKind() == static_cast<std::int32_t>(LockErrorKind::PortOpen);
        window_.messages.showMessage(cardRead && portNotOpened ? "Error Opening Com Port"
                                                               : lock_.errorDescription());
    }
}

}  // namespace morvane
