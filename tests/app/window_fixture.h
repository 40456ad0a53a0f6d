#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "app/clipboard/clipboard_port.h"
#include "app/frm_morvane.h"
#include "app/message_boxes.h"

// Texts read as text in a failure.
inline void PrintTo(const QString& text, std::ostream* out) { *out << '"' << text.toStdString() << '"'; }

namespace morvane::test {

struct RecordingMessageBoxes : MessageBoxes {
    std::vector<Message> shown;
    void show(QWidget*, const Message& message) override { shown.push_back(message); }
    QStringList take() {  // the texts shown since the last call
        QStringList texts;
        for (const Message& m : shown) texts << m.text;
        shown.clear();
        return texts;
    }
};

struct RecordingClipboard : ClipboardPort {
    QString text;
    bool answered = true;
    bool keeps = true;
    bool deferred = false;  // the read answers only when the test calls answer()
    ReadDone pending;
    QStringList placed;
    bool failPlacing = false;
    void readStartUpText(QWidget&, ReadDone done) override {
        pending = std::move(done);
        if (!deferred) answer();
    }
    void answer() { std::exchange(pending, {})({.text = text.toStdString(), .answered = answered}); }
    bool keepsTextAfterExit() const override { return keeps; }
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
    std::string programFolder;  // none: no Default.hwg beside the program
    std::chrono::milliseconds readerStepDeadline = kReaderStepDeadline;
    virtual std::unique_ptr<ReaderLibrary> readerLibrary() const { return nullptr; }

    void SetUp() override { open(); }
    // Opens the window as a calling program would after leaving `invocation` on the clipboard,
    // and unless told otherwise lets the search for USB readers end.
    void open(const QString& invocation = {}, bool awaitReaders = true) {
        clipboard.text = invocation;
        window = std::make_unique<frmMorvane>(WindowServices{
            .messages = messages, .clipboard = clipboard, .readerLibrary = readerLibrary(),
            .programFolder = programFolder, .readerStepDeadline = readerStepDeadline});
        window->show();
        window->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
        if (awaitReaders) awaitReaderStep();
    }
    // The reader buttons take clicks again once a reader step has ended.
    void awaitReaderStep() {
        ASSERT_TRUE(QTest::qWaitFor([this] { return control("cmdGetCard")->isEnabled(); }, 60'000));
    }
    template <typename T = QWidget>
    T* control(const char* name) const {
        T* found = window->findChild<T*>(QString::fromLatin1(name));
        if (!found) ADD_FAILURE() << "no control " << name;
        return found;
    }
    QLineEdit* box(const char* name) const { return control<QLineEdit>(name); }
    QString text(const char* name) const { return box(name)->text(); }
    QString texts(std::initializer_list<const char*> names) const {  // joined by '|'
        QStringList all;
        for (const char* name : names) all << text(name);
        return all.join('|');
    }
    // Clicks into the box and replaces its text in one change, as pasting does.
    void retype(const char* name, const QString& replacement) {
        click(box(name));
        box(name)->selectAll();
        box(name)->insert(replacement);
    }
    void click(QWidget* target) { QTest::mouseClick(target, Qt::LeftButton); }
    void click(const char* name) { click(control(name)); }
    void clickFormat(const char* name) {
        QWidget* button = control(name);
        QTest::mouseClick(button, Qt::LeftButton, {}, QPoint(8, button->height() / 2));
    }
    void showPage(int page) { control<QTabWidget>("SSTab1")->setCurrentIndex(page); }
    // A key as the keyboard delivers it: to the focus widget, shortcuts first.
    void press(Qt::Key key) { QTest::keyClick(window->windowHandle(), key); }
    // The bit map's caption: its accessible description's first line.
    QString mapCaption() const {
        return control("bitMap")->accessibleDescription().section('\n', 0, 0);
    }
    // The tab control's tabs count as the tab control.
    QString focusName() const {
        QWidget* focus = QApplication::focusWidget();
        if (!focus) return {};
        if (qobject_cast<QTabBar*>(focus)) return focus->parentWidget()->objectName();
        return focus->objectName();
    }
};

}  // namespace morvane::test
