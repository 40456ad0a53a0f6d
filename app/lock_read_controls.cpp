#include "app/lock_read_controls.h"

#include <QApplication>
#include <QComboBox>
#include <QPushButton>
#include <algorithm>

#include "app/message_boxes.h"
#include "app/qt_text.h"

namespace morvane {
namespace {

// Asked at the moment of the click, not taken from the click's event: a click by keyboard
// carries no modifiers of its own, and the user holds Ctrl or Shift on purpose.
bool held(Qt::KeyboardModifier key) {
    return QGuiApplication::queryKeyboardModifiers().testFlag(key);
}

// The button is as wide as its widest caption, so that a caption change moves nothing.
void fitEveryCaption(QPushButton& button) {
    int widest = 0;
    for (const char* caption : {kCaptionAfterRead, kCaptionWaiting}) {
        const QString saved = button.text();
        button.setText(QString::fromLatin1(caption));
        widest = std::max(widest, button.sizeHint().width());
        button.setText(saved);
    }
    button.setFixedWidth(widest);
}

}  // namespace

LockReadControls::LockReadControls(QPushButton& button, QComboBox& ports,
                                   MessageBoxes& messages,
                                   std::function<void(const QString&)> putCardData)
    : QObject(&button),
      button_(button),
      ports_(ports),
      messages_(messages),
      putCardData_(std::move(putCardData)) {
    fitEveryCaption(button_);
    // The read waits for the lock in an event loop of its own, the window answering meanwhile.
    connect(&button_, &QPushButton::clicked, this, [this] {
        reading_(true);
        lockButton_.cmdGetCard_Click();
        reading_(false);
    });
    qApp->installEventFilter(&inputGuard_);
}

LockReadControls::~LockReadControls() { qApp->removeEventFilter(&inputGuard_); }

bool LockReadControls::View::ctrlHeld() const { return held(Qt::ControlModifier); }
bool LockReadControls::View::shiftHeld() const { return held(Qt::ShiftModifier); }

void LockReadControls::View::showMessage(std::string_view text) {
    controls_.messages_.show(controls_.button_.window(), Message{.text = toQt(text)});
}

void LockReadControls::View::setCardData(const std::string& text) {
    controls_.putCardData_(toQt(text));
}

void LockReadControls::View::setCaption(const std::string& text) {
    controls_.button_.setText(toQt(text));
}

std::string LockReadControls::View::selectedPort() const {
    return toStd(controls_.ports_.currentText());
}

// An emptied combo box selects the first entry added to it.
void LockReadControls::View::setPorts(const std::vector<std::string>& ports) {
    controls_.ports_.clear();
    for (const std::string& port : ports) controls_.ports_.addItem(toQt(port));
}

}  // namespace morvane
