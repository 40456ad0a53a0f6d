#pragma once

#include <QString>
#include <optional>

namespace morvane {

// The clipboard as the window uses it: read once at start-up, written by "&OK", "E&xit" and
// "Copy to Clipboard". Tests put a recorder here.
class ClipboardPort {
  public:
    virtual ~ClipboardPort() = default;
    // The clipboard's text; empty when there is none or it cannot be read.
    virtual QString readText() = 0;
    // Places the text so that a calling program can read it, also after Morvane has ended.
    // False when it could not be placed.
    virtual bool placeText(const QString& text) = 0;
};

// Takes the invocation string from the command line instead of the clipboard when one was
// given, and remembers the last text placed, for --print-result.
class InvocationClipboard : public ClipboardPort {
  public:
    InvocationClipboard(ClipboardPort& clipboard, std::optional<QString> invocation)
        : clipboard_(clipboard), invocation_(std::move(invocation)) {}

    QString readText() override { return invocation_ ? *invocation_ : clipboard_.readText(); }
    bool placeText(const QString& text) override {
        if (!clipboard_.placeText(text)) return false;
        lastPlaced_ = text;
        return true;
    }
    const std::optional<QString>& lastPlaced() const { return lastPlaced_; }

  private:
    ClipboardPort& clipboard_;
    std::optional<QString> invocation_;
    std::optional<QString> lastPlaced_;
};

}  // namespace morvane
