// How the window answers while a slow reader library works: from main() to the window shown,
// and from a click on "Reinitialize USB" followed at once by a click on the "Data Input" tab to
// that tab being shown. The clicks are queued as a person's are, so the tab click waits for
// whatever the first click does on the window's thread. bench/reader_steps.sh sets the reader
// emulator up to answer every call late and runs this program.
#include <QApplication>
#include <QMouseEvent>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <chrono>
#include <cstdio>

#include "app/clipboard/clipboard_port.h"
#include "app/frm_morvane.h"
#include "app/message_boxes.h"
#include "readers/reader_host_client.h"

namespace {

using Clock = std::chrono::steady_clock;

long long msSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

// A stand-alone start: no calling program's text, and nothing placed anywhere.
struct NoClipboard final : morvane::ClipboardPort {
    void readStartUpText(QWidget&, ReadDone done) override { done({.text = {}, .answered = true}); }
    bool placeText(const QString&) override { return true; }
};

void postClick(QWidget* target, QPoint at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QCoreApplication::postEvent(
            target, new QMouseEvent(type, at, target->mapToGlobal(at), Qt::LeftButton,
                                    type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                                    Qt::NoModifier));
    }
}

}  // namespace

int main(int argc, char** argv) {
    const Clock::time_point start = Clock::now();
    QApplication app(argc, argv);
    const std::filesystem::path folder = QCoreApplication::applicationDirPath().toStdString();
    morvane::QtMessageBoxes messages;
    NoClipboard clipboard;
    morvane::frmMorvane window(
        {.messages = messages,
         .clipboard = clipboard,
         .readerLibrary = std::make_unique<morvane::ReaderHostClient>(
             std::filesystem::path(MORVANE_READER_HOST), folder),
         .programFolder = folder});
    window.show();
    if (!QTest::qWaitForWindowExposed(&window)) return 1;
    std::printf("window shown %lld ms after start\n", msSince(start));

    auto* reinitialize = window.findChild<QPushButton*>(QStringLiteral("btnReinitializeUSB"));
    auto* tabs = window.findChild<QTabWidget*>(QStringLiteral("SSTab1"));
    if (!QTest::qWaitFor([&] { return reinitialize->isEnabled(); }, 600'000)) return 1;
    tabs->setCurrentIndex(1);
    QTest::qWait(100);  // the page is laid out and painted
    const Clock::time_point clicked = Clock::now();
    postClick(reinitialize, reinitialize->rect().center());
    postClick(tabs->tabBar(), tabs->tabBar()->tabRect(0).center());
    if (!QTest::qWaitFor([&] { return tabs->currentIndex() == 0; }, 600'000)) return 1;
    std::printf("tab click during \"Reinitialize USB\" handled %lld ms after the clicks\n",
                msSince(clicked));
    const bool stillRunning = !reinitialize->isEnabled();
    std::printf("the step was %s running then\n", stillRunning ? "still" : "no longer");
    return 0;
}
