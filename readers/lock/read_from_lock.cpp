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
    std::string why;
    const std::optional<std::int16_t> port = openPort(why);
    if (!port) view_.showMessage(why);
    return port;
}

std::optional<std::int16_t> ReadFromLock::openPort(std::string& why) {
    const std::string selected = view_.selectedPort();
    if (selected.empty()) {
        why = "No comport selected";
        return std::nullopt;
    }
    // The list holds only the texts it was filled with, so a port number that does not read
    // is as unusable as a port that does not open.
    const std::optional<std::int16_t> number = portNumber(selected);
    if (!number || !probe_(*number)) {
        why = "Error opening selected comport";
        return std::nullopt;
    }
    return number;
}

LockCardRead ReadFromLock::readCardQuietly() {
    std::string why;
    const std::optional<std::int16_t> port = openPort(why);
    if (!port) return {{}, why};
    lock_.setPort(*port);
    lock_.setWaitValue(kCardReadWaitValue);
    const std::int32_t status = lock_.readCard();
    if (status == lock_.statusSuccess()) return {lock_.cardData(), {}};
    std::string failure = failureText(status, true);
    return {{}, failure.empty() ? "the lock gave no card" : std::move(failure)};
}

void ReadFromLock::showStatus(std::int32_t status, bool cardRead) {
    if (status != lock_.statusSuccess()) {
        const std::string failure = failureText(status, cardRead);
        if (!failure.empty()) view_.showMessage(failure);
    } else if (cardRead) {
        view_.setCardData(lock_.cardData());
    } else {
        view_.showMessage(lock_.lockInfo());
    }
}

// Empty for a status the lock control does not name.
std::string ReadFromLock::failureText(std::int32_t status, bool cardRead) const {
    if (status == lock_.statusCancelled()) return "Cancelled";
    if (status == lock_.statusTimeout()) return "Timeout";
    if (status != lock_.statusError()) return {};
    const bool portNotOpened =
        lock_.errorKind() == static_cast<std::int32_t>(LockErrorKind::PortOpen);
    return cardRead && portNotOpened ? "Error Opening Com Port" : lock_.errorDescription();
}

}  // namespace morvane
