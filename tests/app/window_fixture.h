#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTest>
#include <memory>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "app/clipboard/clipboard_port.h"
#include "app/frm_morvane.h"
#include "app/message_boxes.h"

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace morvane::test {

// Stands in for the message boxes: remembers what a user would have been shown.
struct RecordingMessageBoxes : MessageBoxes {
    std::vector<Message> shown;
    void show(QWidget*, const Message& message) override { shown.push_back(message); }
    // The texts shown since the last call.
    QStringList take() {
        QStringList texts;
        for (const Message& m : std::exchange(shown, {})) texts << m.text;
        return texts;
    }
};

// Stands in for the desktop clipboard: holds a text to read at start-up, records every text
// placed, and can be told to fail.
struct RecordingClipboard : ClipboardPort {
    QString text;
    QStringList placed;
    bool failPlacing = false;
    QString readText() override { return text; }
    bool placeText(const QString& newText) override {
        if (!failPlacing) placed << newText;
        return !failPlacing;
    }
};

// The real window, shown and active off screen, driven the way a person drives it.
class WindowTest : public ::testing::Test {
  protected:
    RecordingMessageBoxes messages;
    RecordingClipboard clipboard;
    std::unique_ptr<frmMorvane> window;
    std::string programFolder;  // none: no reader library or Default.hwg beside the program

    void SetUp() override { open(); }

    // Opens the window as a calling program would after leaving `invocation` on the clipboard.
    void open(const QString& invocation = {}) {
        clipboard.text = invocation;
        window = std::make_unique<frmMorvane>(WindowServices{
            .messages = messages, .clipboard = clipboard, .programFolder = programFolder});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    }

    template <typename T = QWidget>
    T* control(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found) ADD_FAILURE() << "no control " << name;
        return found;
    }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    QString text(const char* name) const { return box(name)->text(); }

    // Clicks into the box (the box left before loses the focus) and replaces its text in one
    // change, as pasting does.
    void retype(const char* name, const QString& replacement) {
        click(box(name));
        box(name)->selectAll();
        box(name)->insert(replacement);
    }
    void click(QWidget* target) { QTest::mouseClick(target, Qt::LeftButton); }
    void clickFormat(const char* name) {
        QWidget* button = control(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    // A key as the keyboard delivers it: to the focus widget, shortcuts first.
    void press(Qt::Key key) { QTest::keyClick(window->windowHandle(), key); }
    // The name of the control with the focus; the tab control's tabs count as the tab control.
    QString focusName() const {
        QWidget* focus = QApplication::focusWidget();
        if (!focus) return {};
        if (qobject_cast<QTabBar*>(focus)) return focus->parentWidget()->objectName();
        return focus->objectName();
    }
};

}  // namespace morvane::test
