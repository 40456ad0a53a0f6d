#pragma once

#include <QGuiApplication>
#include <QObject>
#include <memory>
#include <thread>

#include "app/clipboard/clipboard_port.h"

namespace morvane {

class WaylandClipboardReader;

// The desktop's clipboard. On X11 a program's clipboard text dies with the program, so results
// are handed to the morvane-clipboard keeper beside the program, which holds them until another
// program takes the clipboard. On Wayland, wl-copy plays that part where it is installed;
// elsewhere the text is held by Morvane itself while it runs.
class SystemClipboard : public ClipboardPort {
  public:
    // Made once the toolkit runs and before the window is shown: a Wayland compositor offers
    // the clipboard with the window's first focus, and this listens for that offer from here on.
    // On the toolkit's platform unless another is named.
    explicit SystemClipboard(QString keeperPath,
                             const QString& platform = QGuiApplication::platformName());
    ~SystemClipboard() override;
    SystemClipboard(const SystemClipboard&) = delete;
    SystemClipboard& operator=(const SystemClipboard&) = delete;

    void readStartUpText(QWidget& window, ReadDone done) override;
    bool placeText(const QString& text) override;
    bool keepsTextAfterExit() const override;

  private:
    void readOffThread(QWidget& window, std::function<ClipboardRead()> read, ReadDone done);
    void readWhenFocused(QWidget& window, ReadDone done);

    QString keeperPath_;
    bool onX11_;
    bool onWayland_;
    std::unique_ptr<WaylandClipboardReader> wayland_;
    // Hands the read's outcome back to the window's thread.
    QObject relay_;
    // A read under way, waited for when this goes (it ends within its bound); before the
    // reader and the relay it uses.
    std::jthread reader_;
};

}  // namespace morvane
