// morvane: the desktop window for converting prox card data.
#include <unistd.h>

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QRegularExpression>
#include <cstdio>
#include <optional>

#include "app/clipboard/clipboard_port.h"
#include "app/clipboard/system_clipboard.h"
#include "app/frm_morvane.h"
#include "app/message_boxes.h"
#include "app/runtime_folder.h"
#include "app/toolkit_options.h"
#include "morvane/version.h"
#include "process/standard_streams.h"
#include "readers/reader_host_client.h"

namespace {

struct Options {
    std::optional<QString> invocation;
    bool printResult = false;
};

void nameTheProgram() {
    QCoreApplication::setApplicationName(QStringLiteral("Morvane"));
    QCoreApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));
}

// Read before the window toolkit starts, so that --help and --version need no display.
Options readOptions(int& argc, char** argv) {
    const QCoreApplication core(argc, argv);
    nameTheProgram();
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Morvane: prox card data for locks."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption invocation(
        QStringLiteral("invocation"),
        QStringLiteral("Read the invocation string (FC=...;CF=...;QRVF=...) from <text> "
                       "instead of the clipboard."),
        QStringLiteral("text"));
    const QCommandLineOption printResult(
        QStringLiteral("print-result"),
        QStringLiteral("When the program ends, print the text that OK, Exit or Copy to "
                       "Clipboard placed last on the clipboard."));
    parser.addOption(invocation);
    parser.addOption(printResult);
    morvane::acceptToolkitOptions(parser);
    parser.process(core);
    morvane::useDisplayOption(parser);
    return {parser.isSet(invocation) ? std::optional(parser.value(invocation)) : std::nullopt,
            parser.isSet(printResult)};
}

// The toolkit aborts when no platform can be opened, after a warning for each platform it tried
// and why. Those reasons are gathered here and said in one line, with a plain failure instead
// of an abort.
QString& platformReasons() {
    static QString reasons;
    return reasons;
}

// Made for this run where the shared one is unsafe, and removed however the program ends.
std::optional<morvane::RuntimeFolder>& runtimeFolder() {
    static std::optional<morvane::RuntimeFolder> folder;
    return folder;
}

void reportNoPlatform(QtMsgType type, const QMessageLogContext&, const QString& message) {
    static QString pending;  // the reasons given before the toolkit names the platform
    static const QRegularExpression named(QStringLiteral("Qt platform plugin \"([^\"]*)\""));
    if (type == QtFatalMsg) {
        const bool unset = qEnvironmentVariableIsEmpty("DISPLAY") &&
                           qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
        const QByteArray line =
            "morvane: no window can be opened: " +
            (platformReasons().isEmpty() ? message : platformReasons()).toUtf8().simplified() +
            (unset ? "; neither DISPLAY nor WAYLAND_DISPLAY is set" : "") + '\n';
        [[maybe_unused]] const auto n = ::write(STDERR_FILENO, line.constData(), line.size());
        runtimeFolder().reset();
        ::_exit(1);
    }
    const QRegularExpressionMatch match = named.match(message);
    if (!match.hasMatch()) {
        pending += (pending.isEmpty() ? "" : "; ") + message.simplified();
        return;
    }
    const bool missing = message.startsWith(QLatin1String("Could not find"));
    platformReasons() += (platformReasons().isEmpty() ? "" : ", ") + match.captured(1) + " (" +
                         (missing ? QStringLiteral("not installed") : pending) + ")";
    pending.clear();
}

}  // namespace

int main(int argc, char** argv) {
    if (!morvane::openClosedStandardStreams()) return 1;
    runtimeFolder().emplace();
    const Options options = readOptions(argc, argv);
    const QtMessageHandler previous = qInstallMessageHandler(reportNoPlatform);
    QApplication app(argc, argv);
    qInstallMessageHandler(previous);
    nameTheProgram();

    morvane::SystemClipboard system(QCoreApplication::applicationDirPath() +
                                    QStringLiteral("/morvane-clipboard"));
    morvane::InvocationClipboard clipboard(system, options.invocation);
    morvane::QtMessageBoxes messages;
    // The reader library runs in morvane-reader-host beside the program, never in the window.
    const std::filesystem::path programFolder =
        QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    morvane::frmMorvane window(
        {.messages = messages,
         .clipboard = clipboard,
         .readerLibrary = std::make_unique<morvane::ReaderHostClient>(
             programFolder / morvane::kReaderHostProgram, programFolder),
         .programFolder = programFolder});
    window.show();
    const int status = QApplication::exec();

    if (options.printResult && clipboard.lastPlaced()) {
        const QByteArray text = clipboard.lastPlaced()->toUtf8() + '\n';
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    }
    return status;
}
