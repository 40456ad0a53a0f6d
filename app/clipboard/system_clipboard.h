#pragma once

#include "app/clipboard/clipboard_port.h"

namespace morvane {

// The desktop's clipboard. On X11 a program's clipboard text dies with the program, so results
// are handed to the morvane-clipboard keeper beside the program, which holds them until another
// program takes the clipboard. On Wayland, wl-copy plays that part where it is installed;
// elsewhere the text is held by Morvane itself while it runs.
class SystemClipboard : public ClipboardPort {
  public:
    explicit SystemClipboard(QString keeperPath);
    QString readText() override;
    bool placeText(const QString& text) override;

  private:
    QString keeperPath_;
};

}  // namespace morvane
