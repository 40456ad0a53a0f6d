#include "formats/split_decoders.h"

#include "formats/bits.h"

namespace morvane {

namespace {

std::string& boxOf(ResultBoxes& boxes, ResultBox box) {
    return boxes[static_cast<std::size_t>(box)];
}

void decode(SplitFormatId id, std::string_view bitData, ResultBoxes& boxes) {
    for (const BoxSlice& s : splitColumn(id).slices) {
        const auto start = static_cast<std::size_t>(s.start - 1);
        const std::string_view slice =
            start < bitData.size() ? bitData.substr(start, static_cast<std::size_t>(s.length))
                                   : std::string_view{};
        boxOf(boxes, s.box) = GetNumber(slice);
    }
}

}  // namespace

void SplitFormat26(std::string_view bitData, ResultBoxes& boxes) {
    decode(SplitFormatId::F26, bitData, boxes);
}
void SplitFormat34(std::string_view bitData, ResultBoxes& boxes) {
    decode(SplitFormatId::F34, bitData, boxes);
}
void SplitFormat35(std::string_view bitData, ResultBoxes& boxes) {
    decode(SplitFormatId::F35, bitData, boxes);
}
void SplitFormat35V(std::string_view bitData, ResultBoxes& boxes) {
    decode(SplitFormatId::F35V, bitData, boxes);
}
void SplitFormat36V(std::string_view bitData, ResultBoxes& boxes) {
    decode(SplitFormatId::F36V, bitData, boxes);
}
void SplitFormat37V(std::string_view bitData, ResultBoxes& boxes) {
    decode(SplitFormatId::F37V, bitData, boxes);
}
void SplitFormat37(std::string_view bitData, ResultBoxes& boxes) {
    decode(SplitFormatId::F37, bitData, boxes);
}
void SplitFormatProxif(std::string_view bitData, ResultBoxes& boxes) {
    decode(SplitFormatId::Proxif, bitData, boxes);
}
void SplitFormatCasi(std::string_view bitData, ResultBoxes& boxes) {
    decode(SplitFormatId::Casi, bitData, boxes);
}

void writeRefusal(SplitFormatId id, ResultBoxes& boxes) {
    for (const BoxText& t : splitColumn(id).refusal) boxOf(boxes, t.box) = t.text;
}

}  // namespace morvane
