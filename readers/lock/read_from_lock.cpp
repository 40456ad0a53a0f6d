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

ReadFromLock::ReadFromLock(LockButtonView& view, LockControl& lock, ComPortProbe probe)
    : view_(view), lock_(lock), probe_(std::move(probe)) {}

void ReadFromLock::FillComPortList() { view_.setPorts(openableComPorts(probe_)); }

void ReadFromLock::cmdGetCard_Click() {
    // Ctrl comes first and needs no port, so Ctrl+Shift gives this form too.
    if (view_.ctrlHeld()) {
        view_.showMessage(lock_.aboutText());
        lock_.reset();
        return;
    }
    const std::optional<std::int16_t> port = selectedOpenPort();
    if (!port) {
        FillComPortList();
        return;
    }
    if (view_.shiftHeld()) {
        lock_.setPort(*port);
        lock_.setWaitValue(kLockInfoWaitValue);
        showStatus(lock_.readLockInfo(), false);
        return;
    }
    view_.setCaption(kCaptionWaiting);
    view_.setCardData("");
    lock_.setPort(*port);
    lock_.setWaitValue(kCardReadWaitValue);
    showStatus(lock_.readCard(), true);
    view_.setCaption(kCaptionAfterRead);
}

// Nothing, once the user has been told why, when there is no port to use.
std::optional<std::int16_t> ReadFromLock::selectedOpenPort() {
    const std::string selected = view_.selectedPort();
    if (selected.empty()) {
        view_.showMessage("No comport selected");
        return std::nullopt;
    }
    // The list holds only the texts it was filled with, so a port number that does not read
    // is as unusable as a port that does not open.
    const std::optional<std::int16_t> number = portNumber(selected);
    if (!number || !probe_(*number)) {
        view_.showMessage("Error opening selected comport");
        return std::nullopt;
    }
    return number;
}

void ReadFromLock::showStatus(std::int32_t status, bool cardRead) {
    if (status == lock_.statusSuccess()) {
        if (cardRead) {
            view_.setCardData(lock_.cardData());
        } else {
            view_.showMessage(lock_.lockInfo());
        }
    } else if (status == lock_.statusCancelled()) {
        view_.showMessage("Cancelled");
    } else if (status == lock_.statusTimeout()) {
        view_.showMessage("Timeout");
    } else if (status == lock_.statusError()) {
        const bool portNotOpened =
            lock_.errorKind() == static_cast<std::int32_t>(LockErrorKind::PortOpen);
        view_.showMessage(cardRead && portNotOpened ? "Error Opening Com Port"
                                                    : lock_.errorDescription());
    }
}

}  // namespace morvane
