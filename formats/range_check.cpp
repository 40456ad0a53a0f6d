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

bool passesRangeChecks(std::span<const RangeCheck> checks, MessageSink& sink,
                       EncoderHost* boxes) {
    for (const RangeCheck& check : checks) {
        // Written so that a NaN fails as too large rather than slipping through.
        if (check.limit && !(check.value <= static_cast<double>(*check.limit))) {
            const std::string limit = std::to_string(*check.limit);
            sink.showMessage(messageHead(check.box) + formatNumber(check.value) +
                             " is too large. " + limit + " is max.");
            if (boxes) setBox(*boxes, check.box, limit);
            return false;
        }
        if (!(check.value >= 0)) {
            sink.showMessage(messageHead(check.box) + formatNumber(check.value) +
                             " is too small. 0 is min.");
            return false;
        }
    }
    return true;
}

}  // namespace morvane
