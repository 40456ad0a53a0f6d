#include "formats/range_check.h"

#include <string>

#include "formats/numeric_text.h"

namespace morvane {

namespace {

std::string messageHead(ValueBox box) {
    switch (box) {
        case ValueBox::Hotstamp:
            return "Hotstamp ";
        case ValueBox::Facility:
            return "Facility Code ";
        case ValueBox::Version:
            return "Version ";
    }
    return "";
}

void setBox(EncoderHost& boxes, ValueBox box, const std::string& text) {
    switch (box) {
        case ValueBox::Hotstamp:
            boxes.setHotstampBox(text);
            break;
        case ValueBox::Facility:
            boxes.setFacilityBox(text);
            break;
        case ValueBox::Version:
            boxes.setVersionBox(text);
            break;
    }
}

}  // namespace

void reportRangeError(ValueBox box, double value, std::optional<std::uint64_t> limit,
                      MessageSink& sink, EncoderHost* boxes) {
    if (limit && !(value <= static_cast<double>(*limit))) {
        const std::string limitText = std::to_string(*limit);
        sink.showMessage(messageHead(box) + formatNumber(value) + " is too large. " + limitText +
                         " is max.");
        if (boxes) setBox(*boxes, box, limitText);
        return;
    }
    sink.showMessage(messageHead(box) + formatNumber(value) + " is too small. 0 is min.");
}

}  // namespace morvane
