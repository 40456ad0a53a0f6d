// The options every Qt program takes: -display, -platform, -style and the rest.
#pragma once

class QCommandLineParser;

namespace morvane {

// The toolkit reads these options itself when the window starts; our parser, which runs first,
// learns them only to step over them and their values instead of refusing them. Words after one
// dash are then whole option names, as the toolkit reads them, never letters run together.
void acceptToolkitOptions(QCommandLineParser& parser);

// Once parsed: a display named with -display is also the one the clipboard keeper and the
// start-up clipboard read must reach, and they find it, as every X client does, in DISPLAY.
void useDisplayOption(const QCommandLineParser& parser);

}  // namespace morvane
