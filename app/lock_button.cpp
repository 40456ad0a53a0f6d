// "Read from Lock" and the COM port list beside it on the Split Data page.
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>
#include <algorithm>

#include "app/frm_morvane.h"
#include "app/qt_text.h"
#include "ui_frm_morvane.h"

namespace morvane {
namespace {

// Asked at the moment of the click, not taken from the click's event: a click by keyboard
// carries no modifiers of its own, and the user holds Ctrl or Shift on purpose.
bool held(Qt::KeyboardModifier key) {
    return QGuiApplication::queryKeyboardModifiers().testFlag(key);
}

}  // namespace

bool frmMorvane::LockButtonControls::ctrlHeld() const { return held(Qt::ControlModifier); }
bool frmMorvane::LockButtonControls::shiftHeld() const { return held(Qt::ShiftModifier); }

void frmMorvane::LockButtonControls::showMessage(std::string_view text) {
    window_.showMessage(text);
}

void frmMorvane::LockButtonControls::setCardData(const std::string& text) {
    window_.ui->txtData->setText(toQt(text));
}

void frmMorvane::LockButtonControls::setCaption(const std::string& text) {
    window_.ui->cmdGetCard->setText(toQt(text));
}

std::string frmMorvane::LockButtonControls::selectedPort() const {
    return toStd(window_.ui->ComboComPort->currentText());
}

void frmMorvane::LockButtonControls::setPorts(const std::vector<std::string>& ports) {
    QComboBox& combo = *window_.ui->ComboComPort;
    // An emptied combo box selects the first entry added to it.
    combo.clear();
    for (const std::string& port : ports) combo.addItem(toQt(port));
}

void frmMorvane::FillComPortList() { lockButton_.FillComPortList(); }

// The button is as wide as its widest caption from the start, so that the captions a card read
// gives it never move the buttons beside it.
void frmMorvane::keepLockButtonWidth() {
    QPushButton& button = *ui->cmdGetCard;
    const QString initial = button.text();
    int widest = button.sizeHint().width();
    for (const char* caption : {kCaptionWaiting, kCaptionAfterRead}) {
        button.setText(QString::fromLatin1(caption));
        widest = std::max(widest, button.sizeHint().width());
    }
    button.setText(initial);
    button.setMinimumWidth(widest);
}

// The lock read waits in a local event loop: it is a reader step like the USB ones meanwhile.
void frmMorvane::cmdGetCard_Click() {
    showReaderStepRunning(ui->cmdGetCard);
    lockButton_.cmdGetCard_Click();
    showReadersIdle();
}

}  // namespace morvane
