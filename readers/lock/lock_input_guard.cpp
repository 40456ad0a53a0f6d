#include "readers/lock/lock_input_guard.h"

#include <QEvent>
#include <QKeyEvent>

#include "readers/lock/lock_reader.h"

namespace morvane {
namespace {

bool isEscape(const QEvent* event) {
    return static_cast<const QKeyEvent*>(event)->key() == Qt::Key_Escape;
}

bool isUserInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TabletPress:
        case QEvent::TabletRelease:
        case QEvent::InputMethod:
            return true;
        default:
            return false;
    }
}

}  // namespace

LockInputGuard::LockInputGuard(LockReader& reader, QObject* parent)
    : QObject(parent), reader_(reader) {}

bool LockInputGuard::eventFilter(QObject* watched, QEvent* event) {
    if (!reader_.isBusy()) return QObject::eventFilter(watched, event);

    const QEvent::Type type = event->type();
    if (type == QEvent::ShortcutOverride) {
        // An accepted override keeps the key from firing a shortcut (Esc for "E&xit", a
        // button's Alt mnemonic); the key press that follows comes back here.
        event->accept();
        return true;
    }
    if (type == QEvent::KeyPress && isEscape(event)) {
        reader_.cancel();
        return true;
    }
    // Closing the window from its title bar would pull the window from under the waiting read.
    if (type == QEvent::Close && event->spontaneous()) {
        event->ignore();
        return true;
    }
    return isUserInput(type);
}

}  // namespace morvane
