#include "readers/reader_caption.h"

namespace morvane {

std::string captionWithReaderMarker(std::string_view caption, bool usbReaderFound) {
    std::string result(caption);
    if (usbReaderFound && !caption.ends_with('}')) {
        result += ' ';
        result += kReaderDetectedMarker;
    }
    return result;
}

}  // namespace morvane
