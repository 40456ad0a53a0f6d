// "Read from Lock" and the COM port list beside it on the Split Data page.
#include <QComboBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPushButton>

#include "app/frm_morvane.h"
#include "app/qt_text.h"
#include "readers/lock/read_from_lock.h"
#include "ui_frm_morvane.h"

namespace morvane {
namespace {

// Asked at the moment of the click, not taken from the click's event: a click by keyboard
// carries no modifiers of its own, and the user holds Ctrl or Shift on purpose.
class KeyboardModifierKeys final : public ModifierKeys {
  public:
    bool ctrlHeld() const override { return held(Qt::ControlModifier); }
    bool shiftHeld() const override { return held(Qt::ShiftModifier); }

  private:
    static bool held(Qt::KeyboardModifier key) {
        return QGuiApplication::queryKeyboardModifiers().testFlag(key);
    }
};

// txtData: setText runs the box's change handling whenever the text changes.
class LineEditTarget final : public TextTarget {
  public:
    explicit LineEditTarget(QLineEdit& box) : box_(box) {}
    void setText(const std::string& text) override { box_.setText(toQt(text)); }

  private:
    QLineEdit& box_;
};

class ButtonCaption final : public TextTarget {
  public:
    explicit ButtonCaption(QPushButton& button) : button_(button) {}
    void setText(const std::string& text) override { button_.setText(toQt(text)); }

  private:
    QPushButton& button_;
};

class ComboPortList final : public ComPortList {
  public:
    explicit ComboPortList(QComboBox& combo) : combo_(combo) {}
    std::string currentText() const override { return toStd(combo_.currentText()); }
    void setEntries(const std::vector<std::string>& entries) override {
        combo_.clear();
        for (const std::string& entry : entries) combo_.addItem(toQt(entry));
        if (combo_.count() > 0) combo_.setCurrentIndex(0);
    }

  private:
    QComboBox& combo_;
};

// The button's work over this window's controls, for the length of one call.
class LockButton {
  public:
    LockButton(Ui::frmMorvane& ui, const ModifierKeys* keys, MessageSink& messages,
               LockControl& lock)
        : txtData_(*ui.txtData),
          caption_(*ui.cmdGetCard),
          ports_(*ui.ComboComPort),
          control_({.keys = keys != nullptr ? *keys : keyboard_,
                    .messages = messages,
                    .txtData = txtData_,
                    .cmdGetCardCaption = caption_,
                    .ComboComPort = ports_},
                   lock) {}

    ReadFromLock& control() { return control_; }

  private:
    KeyboardModifierKeys keyboard_;
    LineEditTarget txtData_;
    ButtonCaption caption_;
    ComboPortList ports_;
    ReadFromLock control_;
};

}  // namespace

void frmMorvane::FillComPortList() {
    LockButton(*ui, keys_, static_cast<EncoderHost&>(*this), tmread1).control().FillComPortList();
}

void frmMorvane::cmdGetCard_Click() {
    LockButton(*ui, keys_, static_cast<EncoderHost&>(*this), tmread1).control().cmdGetCard_Click();
}

}  // namespace morvane
