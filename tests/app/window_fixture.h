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

#include "app/frm_morvane.h"
#include "app/recording_clipboard.h"
#include "app/recording_message_boxes.h"

// Readable texts in test failures.
inline void PrintTo(const QString& text, std::ostream* os) {
    *os << '"' << text.toStdString() << '"';
}

namespace morvane::test {

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

    // Clicks into the box (the box left before loses the focus) and types at its end.
    void typeInto(const char* name, const QString& keys) {
        click(box(name));
        box(name)->end(false);
        QTest::keyClicks(box(name), keys);
    }
    // Clicks into the box, selects everything and types over it.
    void retype(const char* name, const QString& keys) {
        click(box(name));
        box(name)->selectAll();
        if (keys.isEmpty()) QTest::keyClick(box(name), Qt::Key_Delete);
        QTest::keyClicks(box(name), keys);
    }
    // Puts a whole text in one change, as pasting does.
    void paste(const char* name, const QString& pasted) {
        click(box(name));
        box(name)->selectAll();
        box(name)->insert(pasted);
    }
    void click(QWidget* target) { QTest::mouseClick(target, Qt::LeftButton); }
    void clickFormat(const char* name) {
        QRadioButton* button = control<QRadioButton>(name);
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
