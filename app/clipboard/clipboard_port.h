#pragma once

#include <QString>
#include <functional>
#include <optional>

#include "app/clipboard/clipboard_read.h"

class QWidget;

namespace morvane {

// The clipboard as the window uses it: read once at start-up, written by "&OK", "E&xit" and
// "Copy to Clipboard". Tests put a recorder here.
class ClipboardPort {
  public:
    using ReadDone = std::function<void(const ClipboardRead&)>;
    virtual ~ClipboardPort() = default;
    // Reads the text a calling program may have left, so that waiting on its owner never holds
    // up `window`; `done` runs once, on the window's thread, and never after the window has gone.
    virtual void readStartUpText(QWidget& window, ReadDone done) = 0;
    // Places the text so that a calling program can read it, also after Morvane has ended.
    // False when it could not be placed.
    virtual bool placeText(const QString& text) = 0;
    // Whether a text placed now is still there for a calling program once Morvane has ended.
    virtual bool keepsTextAfterExit() const { return true; }
};

// Takes the invocation string from the command line instead of the clipboard when one was
// given, and remembers the last text placed, for --print-result.
class InvocationClipboard : public ClipboardPort {
  public:
    InvocationClipboard(ClipboardPort& clipboard, std::optional<QString> invocation)
        : clipboard_(clipboard), invocation_(std::move(invocation)) {}

    void readStartUpText(QWidget& window, ReadDone done) override {
        if (!invocation_) return clipboard_.readStartUpText(window, std::move(done));
        done(ClipboardRead{.text = invocation_->toStdString(), .answered = true});
    }
    bool placeText(const QString& text) override {
        if (!clipboard_.placeText(text)) return false;
        lastPlaced_ = text;
        return true;
    }
    bool keepsTextAfterExit() const override { return clipboard_.keepsTextAfterExit(); }
    const std::optional<QString>& lastPlaced() const { return lastPlaced_; }

  private:
    ClipboardPort& clipboard_;
    std::optional<QString> invocation_;
    std::optional<QString> lastPlaced_;
};

}  // namespace morvane
