#pragma once

#include <cstddef>

#include "app/clipboard/clipboard_port.h"

namespace morvane {

// An invocation string is a few dozen characters; a clipboard text beyond this many bytes is
// none, and is read as no text at all.
inline constexpr std::size_t kMaxClipboardText = 4096;

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
