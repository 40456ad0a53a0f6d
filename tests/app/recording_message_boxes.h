#pragma once

#include <QStringList>
#include <vector>

#include "app/message_boxes.h"

namespace morvane::test {

// Stands in for the message boxes: remembers what a user would have been shown.
class RecordingMessageBoxes : public MessageBoxes {
  public:
    std::vector<Message> shown;

    void show(QWidget*, const Message& message) override { shown.push_back(message); }

    // The texts shown since the last call.
    QStringList take() {
        QStringList texts;
        for (const Message& m : shown) texts << m.text;
        shown.clear();
        return texts;
    }
};

}  // namespace morvane::test
