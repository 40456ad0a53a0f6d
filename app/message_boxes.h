#pragma once

#include <QMessageBox>
#include <QString>

class QWidget;

// The window's modal message boxes. The window only ever asks through this seam, so that the
// widget tests can record what a user would have been shown, and answer it, without a display.
namespace morvane {

struct Message {
    QString text;
    QString title = QStringLiteral("Morvane");
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons = QMessageBox::Ok;
};

class MessageBoxes {
  public:
    virtual ~MessageBoxes() = default;
    // Shows the message modally over `parent` and returns once the user has answered it.
    virtual void show(QWidget* parent, const Message& message) = 0;
};

// The real boxes, on screen.
class QtMessageBoxes : public MessageBoxes {
  public:
    void show(QWidget* parent, const Message& message) override;
};

}  // namespace morvane
