#include "app/toolkit_options.h"

#include <QCommandLineParser>
#include <array>

namespace morvane {

void acceptToolkitOptions(QCommandLineParser& parser) {
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    // Those of the toolkit, its widgets and its X11 platform; -style=fusion is read as well.
    static constexpr std::array kWithValue{"display",       "platform",     "platformpluginpath",
                                           "platformtheme", "plugin",       "qwindowgeometry",
                                           "geometry",      "qwindowtitle", "title",
                                           "qwindowicon",   "icon",         "session",
                                           "style",         "stylesheet",   "name",
                                           "visual",        "qmljsdebugger"};
    static constexpr std::array kAlone{"reverse", "testability", "widgetcount", "nograb", "dograb"};
    const auto accept = [&parser](const char* name, const QString& valueName) {
        QCommandLineOption option(QString::fromLatin1(name), QString(), valueName);
        option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    };
    for (const char* name : kWithValue) accept(name, QStringLiteral("value"));
    for (const char* name : kAlone) accept(name, QString());
}

void useDisplayOption(const QCommandLineParser& parser) {
    const QString display = QStringLiteral("display");
    if (parser.isSet(display)) qputenv("DISPLAY", parser.value(display).toLocal8Bit());
}

}  // namespace morvane
