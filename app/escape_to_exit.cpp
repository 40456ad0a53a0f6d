#include "app/escape_to_exit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>

namespace morvane {

EscapeToExit::EscapeToExit(QWidget& window, QAbstractButton& exit)
    : QObject(&window), window_(window), exit_(exit) {
    qApp->installEventFilter(this);
}

EscapeToExit::~EscapeToExit() { qApp->removeEventFilter(this); }

bool EscapeToExit::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (type != QEvent::ShortcutOverride && type != QEvent::KeyPress) return false;
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() != Qt::Key_Escape || key->modifiers() != Qt::NoModifier) return false;
    if (type == QEvent::ShortcutOverride) {
        // The window system's window has the first look, before any pop-up has closed on it.
        if (watched->isWindowType()) popupOpen_ = QApplication::activePopupWidget() != nullptr;
        return false;
    }
    if (watched != &window_) return false;
    if (!popupOpen_) exit_.click();
    popupOpen_ = false;
    return true;
}

}  // namespace morvane
