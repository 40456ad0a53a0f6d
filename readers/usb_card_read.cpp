#include "readers/usb_card_read.h"

#include <optional>

#include "formats/card_format.h"
#include "formats/numeric_error.h"
#include "formats/numeric_text.h"
#include "formats/prox_data.h"
#include "readers/prox_filter.h"

namespace morvane {

namespace {

// The facility code text read as a whole number; empty or not a number counts as 0. A reader
// layout's facility field is at most 16 bits, but the card comes from outside: a number beyond
// 32 bits is none, and is reported as the window reports an overflow.
std::optional<std::int32_t> facilityCodeOf(const std::string& text) {
    const auto value = parseNumber(text);
    if (!value) return 0;
    return fitInt32(*value);
}

}  // namespace

std::string cardHexText(const CardBuffer& buffer) {
    static constexpr char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(2 * buffer.size());
    for (std::size_t i = buffer.size(); i-- > 0;) {
        if (text.empty() && buffer[i] == 0) continue;
        text.push_back(kDigits[buffer[i] >> 4]);
        text.push_back(kDigits[buffer[i] & 0xF]);
    }
    return text;
}

std::string_view readerLayoutMask(std::string_view formatCode) {
    if (formatCode.empty()) return {};
    if (formatCode == "Casi") return kCasiReaderMask;
    const Layout* layout = findLayout(formatCode);
    return layout != nullptr ? layout->layoutMask : std::string_view();
}

namespace {

// The card's fields found by the reader layout its bit count names, then its prox data.
std::string proxDataOf(const CardBuffer& buffer, int bitCount, CardReadMessages& messages) {
    const std::string cardHex = cardHexText(buffer);
    const std::string_view formatCode = readerFormatCode(bitCount);
    std::string facilityField;
    std::string hotstampField;
    FilterByMask(readerLayoutMask(formatCode), cardHex, facilityField, hotstampField);
    const std::string facilityText = FieldValue(facilityField);
    const std::string hotstampText = FieldValue(hotstampField);
    const auto facilityCode = facilityCodeOf(facilityText);
    if (!facilityCode) {
        messages.showMessage(overflowError().text());
        return {};
    }
    return CalcProxDataUSB(hotstampText, formatCode, *facilityCode, messages);
}

}  // namespace

UsbCardRead readUsbCard(ReaderLibrary* library, CardReadMessages& messages) {
    CardBuffer buffer{};
    const int bitCount = library != nullptr ? library->GetActiveID(buffer) : 0;
    // Only 0 says "no card"; any other count outside the table is an unknown format.
    if (bitCount == 0) {
        messages.showCritical(kNoDataReadFromCard, kCardReadStatusTitle);
        return {};
    }
    return {proxDataOf(buffer, bitCount, messages), bitCount};
}

}  // namespace morvane
