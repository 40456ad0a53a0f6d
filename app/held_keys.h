#pragma once

#include <QEvent>
#include <QObject>
#include <QString>
#include <vector>

class QWidget;
class QWindow;

namespace morvane {

// Keys typed at a window that still waits for its start-up settings (a calling program's
// invocation string on the clipboard): held back, shortcuts and mnemonics included, and replayed
// in order once the settings are in force, so that no key is lost and none is taken under the
// stand-alone settings about to change.
class HeldKeys : public QObject {
  public:
    // Holds from now on.
    explicit HeldKeys(QWidget& window);
    ~HeldKeys() override;
    // Stops holding and replays what was held, as the platform would have delivered it.
    void release();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Key {
        QEvent::Type type;
        int key;
        Qt::KeyboardModifiers modifiers;
        QString text;
        bool autoRepeat;
        ushort count;
    };
    bool aimsAtWindow(QObject* receiver) const;

    QWidget& window_;
    std::vector<Key> held_;
};

}  // namespace morvane
