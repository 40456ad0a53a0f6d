#include "app/message_boxes.h"

namespace morvane {

QMessageBox::StandardButton QtMessageBoxes::show(QWidget* parent, const Message& message) {
    QMessageBox box(message.icon, message.title, message.text, message.buttons, parent);
    box.setWindowModality(Qt::ApplicationModal);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}

}  // namespace morvane
