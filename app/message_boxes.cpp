#include "app/message_boxes.h"

namespace morvane {

void QtMessageBoxes::show(QWidget* parent, const Message& message) {
    // exec() makes the box application modal.
    QMessageBox box(message.icon, message.title, message.text, message.buttons, parent);
    box.exec();
}

}  // namespace morvane
