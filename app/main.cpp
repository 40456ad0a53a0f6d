// morvane: the desktop window for converting prox card data.
#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <cstdio>
#include <optional>

#include "app/clipboard/clipboard_port.h"
#include "app/clipboard/system_clipboard.h"
#include "app/frm_morvane.h"
#include "app/message_boxes.h"
#include "app/runtime_folder.h"
#include "morvane/version.h"

int main(int argc, char** argv) {
    morvane::provideRuntimeFolder();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Morvane"));
    QApplication::setApplicationVersion(QStringLiteral(MORVANE_VERSION));

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
    parser.process(app);

    morvane::SystemClipboard system(QCoreApplication::applicationDirPath() +
                                    QStringLiteral("/morvane-clipboard"));
    morvane::InvocationClipboard clipboard(
        system, parser.isSet(invocation) ? std::optional(parser.value(invocation)) : std::nullopt);
    morvane::QtMessageBoxes messages;
    const QString programFolder = QCoreApplication::applicationDirPath();
    morvane::frmMorvane window({.messages = messages,
                                .clipboard = clipboard,
                                .programFolder = QFile::encodeName(programFolder).toStdString()});
    window.show();
    const int status = QApplication::exec();

    if (parser.isSet(printResult) && clipboard.lastPlaced()) {
        const QByteArray text = clipboard.lastPlaced()->toUtf8() + '\n';
        std::fwrite(text.constData(), 1, static_cast<std::size_t>(text.size()), stdout);
    }
    return status;
}
