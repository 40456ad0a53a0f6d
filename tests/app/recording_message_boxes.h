#pragma once

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

#include "app/message_boxes.h"

namespace morvane::test {

// Stands in for the message boxes: remembers what was shown and answers from a queue (OK once
// the queue is empty). `onShow` runs while the box would be up, to look at the window then.
class RecordingMessageBoxes : public MessageBoxes {
  public:
    std::vector<Message> shown;
    std::deque<QMessageBox::StandardButton> answers;
    std::function<void(const Message&)> onShow;

    QMessageBox::StandardButton show(QWidget*, const Message& message) override {
        shown.push_back(message);
        if (onShow) onShow(message);
        if (answers.empty()) return QMessageBox::Ok;
        const auto answer = answers.front();
        answers.pop_front();
        return answer;
    }

    QStringList texts() const {
        QStringList list;
        for (const Message& m : shown) list << m.text;
        return list;
    }

    QStringList take() {
        const QStringList list = texts();
        shown.clear();
        return list;
    }
};

}  // namespace morvane::test
