#pragma once

#include <QString>
#include <QStringList>

#include "app/clipboard/clipboard_port.h"

namespace morvane::test {

// Stands in for the desktop clipboard: holds a text to read at start-up, records every text
// placed, and can be told to fail.
class RecordingClipboard : public ClipboardPort {
  public:
    QString text;
    QStringList placed;
    bool failPlacing = false;

    QString readText() override { return text; }
    bool placeText(const QString& newText) override {
        if (failPlacing) return false;
        placed << newText;
        text = newText;
        return true;
    }
};

}  // namespace morvane::test
