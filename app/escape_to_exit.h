#pragma once

#include <QObject>

class QAbstractButton;
class QWidget;

namespace morvane {

// Esc on the window presses "E&xit"; Esc that closes an open list, menu or pop-up does nothing
// more. Qt lets a drop-down list close on the key's shortcut check and then still delivers the
// key to the window, so whether a pop-up was open is noted at that check.
class EscapeToExit : public QObject {
  public:
    EscapeToExit(QWidget& window, QAbstractButton& exit);
    ~EscapeToExit() override;

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    QWidget& window_;
    QAbstractButton& exit_;
    bool popupOpen_ = false;
};

}  // namespace morvane
