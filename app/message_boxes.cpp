#include "app/message_boxes.h"

namespace morvane {

void QtMessageBoxes::show(QWidget* parent, const Message& message) {
    QMessageBox box(message.icon, message.title, message.text, message.buttons, parent);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

}  // namespace morvane
