#pragma once

#include <QObject>

class QEvent;

// Keeps the user's hands off the window while a lock read waits: the window goes on painting,
// but clicks, keys and the close box do nothing, and Esc cancels the read. Esc is consumed, so
// the window's own cancel key ("E&xit") never sees the press that cancelled a read. Install it
// on the application object so that it sees the input of every widget:
//     LockInputGuard guard(reader);
//     qApp->installEventFilter(&guard);
// While no request waits it lets everything through.
namespace morvane {

class LockReader;

class LockInputGuard final : public QObject {
    Q_OBJECT

  public:
    explicit LockInputGuard(LockReader& reader, QObject* parent = nullptr);

    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    LockReader& reader_;
};

}  // namespace morvane
