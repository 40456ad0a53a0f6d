#include "app/clipboard/system_clipboard.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QProcess>
#include <QStandardPaths>
#include <chrono>

#include "app/clipboard/clipboard_handoff.h"
#include "app/clipboard/x11_clipboard_reader.h"

namespace morvane {

namespace {

using namespace std::chrono_literals;

constexpr auto kKeeperWait = 3s;
// A calling program leaves its invocation string at once; an owner that has not answered within
// a second is not one, and the window goes on stand-alone.
constexpr auto kStartUpReadWait = 1s;

bool placeWithWlCopy(const QString& text) {
    const QString wlCopy = QStandardPaths::findExecutable(QStringLiteral("wl-copy"));
    if (wlCopy.isEmpty()) return false;
    QProcess process;
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(wlCopy, {});
    if (!process.waitForStarted(3000)) return false;
    process.write(text.toUtf8());
    process.closeWriteChannel();
    // wl-copy serves the text from a background process of its own and returns at once.
    return process.waitForFinished(3000) && process.exitStatus() == QProcess::NormalExit &&
           process.exitCode() == 0;
}

}  // namespace

SystemClipboard::SystemClipboard(QString keeperPath) : keeperPath_(std::move(keeperPath)) {}

QString SystemClipboard::readText() {
    if (QGuiApplication::platformName() == QLatin1String("xcb")) {
        return QString::fromStdString(readX11ClipboardText(kMaxClipboardText, kStartUpReadWait));
    }
    // Elsewhere the toolkit fetches the whole text before a length can be seen.
    QClipboard* clipboard = QGuiApplication::clipboard();
    const QString text = clipboard ? clipboard->text(QClipboard::Clipboard) : QString();
    return text.toUtf8().size() > static_cast<qsizetype>(kMaxClipboardText) ? QString() : text;
}

bool SystemClipboard::placeText(const QString& text) {
    const QString platform = QGuiApplication::platformName();
    if (platform == QLatin1String("xcb")) {
        return handClipboardToKeeper(keeperPath_.toStdString(), text.toStdString(), kKeeperWait)
            .has_value();
    }
    if (platform.startsWith(QLatin1String("wayland")) && placeWithWlCopy(text)) return true;
    QClipboard* clipboard = QGuiApplication::clipboard();
    if (!clipboard) return false;
    clipboard->setText(text, QClipboard::Clipboard);
    return clipboard->text(QClipboard::Clipboard) == text;
}

}  // namespace morvane
