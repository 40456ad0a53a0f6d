#include "app/window_state.h"

namespace morvane {

void WindowState::setCardFormat(const std::string& code) {
    if (code == cardFormat_) return;
    cardFormat_ = code;
    emit cardFormatChanged();
}

void WindowState::enterQrvMode() {
    if (qrvMode_) return;
    qrvMode_ = true;
    emit qrvModeEntered();
}

void WindowState::setReaderFound(bool found) {
    if (found == readerFound_) return;
    readerFound_ = found;
    emit readerFoundChanged(found);
}

void WindowState::setReaderStepRunning(bool running) {
    if (running == readerStepRunning_) return;
    readerStepRunning_ = running;
    emit readerStepRunningChanged(running);
}

}  // namespace morvane
