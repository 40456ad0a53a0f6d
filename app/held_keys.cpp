#include "app/held_keys.h"

#include <qpa/qwindowsysteminterface.h>

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>
#include <QWindow>
#include <utility>

namespace morvane {

HeldKeys::HeldKeys(QWidget& window) : window_(window) { qApp->installEventFilter(this); }

HeldKeys::~HeldKeys() { qApp->removeEventFilter(this); }

// A key reaches the focus widget, or the window itself when none has the focus; either way a
// widget of this window.
bool HeldKeys::aimsAtWindow(QObject* receiver) const {
    auto* widget = qobject_cast<QWidget*>(receiver);
    return widget != nullptr && widget->window() == &window_;
}

bool HeldKeys::eventFilter(QObject* watched, QEvent* event) {
    if (!aimsAtWindow(watched)) return false;
    switch (event->type()) {
        case QEvent::ShortcutOverride:
            // Accepted, the key goes on as a plain key press, which is held below instead of
            // firing a shortcut now.
            event->accept();
            return true;
        case QEvent::KeyPress:
        case QEvent::KeyRelease: {
            const auto* key = static_cast<const QKeyEvent*>(event);
            held_.push_back({key->type(), key->key(), key->modifiers(), key->text(),
                             key->isAutoRepeat(), static_cast<ushort>(key->count())});
            return true;
        }
        default:
            return false;
    }
}

// Through the platform's own entry, so that a held Esc or Alt+X still reaches its shortcut and
// every key goes to whichever control has the focus by then.
void HeldKeys::release() {
    qApp->removeEventFilter(this);
    QWindow* target = window_.windowHandle();
    for (const Key& k : std::exchange(held_, {})) {
        QWindowSystemInterface::handleKeyEvent<QWindowSystemInterface::SynchronousDelivery>(
            target, k.type, k.key, k.modifiers, k.text, k.autoRepeat, k.count);
    }
}

}  // namespace morvane
