#include "app/clipboard/system_clipboard.h"

#include <pthread.h>
#include <qpa/qplatformnativeinterface.h>

#include <csignal>

#include <QClipboard>
#include <QGuiApplication>
#include <QPointer>
#include <QProcess>
#include <QStandardPaths>
#include <QWidget>
#include <QWindow>
#include <chrono>

#include "app/clipboard/clipboard_handoff.h"
#include "app/clipboard/wayland_clipboard_reader.h"
#include "app/clipboard/x11_clipboard_reader.h"

namespace morvane {

namespace {

using namespace std::chrono_literals;

constexpr auto kKeeperWait = 3s;
constexpr int kWlCopyWait = 3000;  // ms

QString wlCopy() { return QStandardPaths::findExecutable(QStringLiteral("wl-copy")); }

// wl-copy serves the text from a background process of its own, which leaves its caller's
// streams, and returns at once. Where it is missing, nothing starts and nothing is placed.
bool placeWithWlCopy(const QString& text) {
    QProcess process;
    process.start(wlCopy(), {});
    process.write(text.toUtf8());
    process.closeWriteChannel();
    return process.waitForFinished(kWlCopyWait) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

// Elsewhere (an off-screen run) the toolkit holds the clipboard in this very process, and
// fetches the whole text before a length can be seen.
ClipboardRead toolkitText() {
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QByteArray text = clipboard ? clipboard->text(QClipboard::Clipboard).toUtf8() : "";
    if (text.size() > static_cast<qsizetype>(kMaxClipboardText)) return {};
    return {.text = text.toStdString(), .answered = true};
}

wl_display* waylandDisplay() {
    QPlatformNativeInterface* native = QGuiApplication::platformNativeInterface();
    return native ? static_cast<wl_display*>(
                        native->nativeResourceForIntegration(QByteArrayLiteral("wl_display")))
                  : nullptr;
}

}  // namespace

SystemClipboard::SystemClipboard(QString keeperPath, const QString& platform)
    : keeperPath_(std::move(keeperPath)),
      onX11_(platform == QLatin1String("xcb")),
      onWayland_(platform.startsWith(QLatin1String("wayland"))) {
    if (onWayland_) wayland_ = WaylandClipboardReader::listen(waylandDisplay());
}

SystemClipboard::~SystemClipboard() = default;

void SystemClipboard::readStartUpText(QWidget& window, ReadDone done) {
    if (onX11_) {
        readOffThread(window, [] { return readX11ClipboardText(kMaxClipboardText, kStartUpReadWait); },
                      std::move(done));
    } else if (onWayland_) {
        readWhenFocused(window, std::move(done));
    } else {
        done(toolkitText());
    }
}

// A compositor offers the clipboard to a program only once one of its windows has the keyboard
// focus, so the read's second starts then. The window is made here, before it is shown, so that
// its handle is there to be recognised.
void SystemClipboard::readWhenFocused(QWidget& window, ReadDone done) {
    if (!wayland_) return done(notAnswered());
    window.winId();
    auto focused = std::make_shared<QMetaObject::Connection>();
    auto start = [this, &window, handle = window.windowHandle(), done = std::move(done),
                  focused](QWindow* now) {
        if (now != handle) return;
        QObject::disconnect(*focused);
        const auto deadline = std::chrono::steady_clock::now() + kStartUpReadWait;
        readOffThread(window, [this, deadline] { return wayland_->read(kMaxClipboardText, deadline); },
                      done);
    };
    *focused = QObject::connect(qGuiApp, &QGuiApplication::focusWindowChanged, &relay_, start);
}

// The read runs with every signal blocked, so none of its waits is ever cut short.
void SystemClipboard::readOffThread(QWidget& window, std::function<ClipboardRead()> read,
                                    ReadDone done) {
    reader_ = std::jthread([this, read = std::move(read), done = std::move(done),
                           target = QPointer<QWidget>(&window)] {
        sigset_t all;
        sigfillset(&all);
        pthread_sigmask(SIG_BLOCK, &all, nullptr);
        ClipboardRead text = read();
        QMetaObject::invokeMethod(
            &relay_,
            [done, target, text = std::move(text)] {
                if (target) done(text);
            },
            Qt::QueuedConnection);
    });
}

bool SystemClipboard::placeText(const QString& text) {
    if (onX11_) {
        return handClipboardToKeeper(keeperPath_.toStdString(), text.toStdString(), kKeeperWait)
            .has_value();
    }
    if (onWayland_ && placeWithWlCopy(text)) return true;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setText(text, QClipboard::Clipboard);
    return clipboard->text(QClipboard::Clipboard) == text;
}

bool SystemClipboard::keepsTextAfterExit() const {
    return onX11_ || (onWayland_ && !wlCopy().isEmpty());
}

}  // namespace morvane
