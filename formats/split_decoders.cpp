#include "formats/split_decoders.h"

#include <algorithm>
#include <array>
#include <charconv>

#include "formats/card_format.h"

namespace morvane {

namespace {

std::string& boxOf(ResultBoxes& boxes, ResultBox box) {
    return boxes[static_cast<std::size_t>(box)];
}

// Characters start-1 .. start+length-2 of the bit data are bits length-start down to
// length-start-length+1 of the word; what lies past the end is not there.
void writeSlice(const BoxSlice& s, CardWord w, std::string& box) {
    const int high = w.length - s.start;
    if (high < 0) {
        box.clear();
        return;
    }
    const int low = std::max(high - s.length + 1, 0);
    const std::uint64_t value = (w.bits >> low) & bitRange(high - low, 0);
    std::array<char, 24> digits{};
    const auto end = std::to_chars(digits.data(), digits.data() + digits.size(), value).ptr;
    box.assign(digits.data(), end);
}

}  // namespace

void decodeColumn(SplitFormatId id, CardWord w, ResultBoxes& boxes) {
    for (const BoxSlice& s : splitColumn(id).slices) writeSlice(s, w, boxOf(boxes, s.box));
}

void writeRefusal(SplitFormatId id, ResultBoxes& boxes) {
    for (const BoxText& t : splitColumn(id).refusal) boxOf(boxes, t.box) = t.text;
}

}  // namespace morvane
