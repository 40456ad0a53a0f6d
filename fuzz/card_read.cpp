// "Read from USB" with whatever a reader hands back, and the mask filter with any mask and card
// hex text. Input: two bytes of bit count (little-endian, as the library returns it), eight bytes
// of card buffer, then a layout mask line and a card hex text for the filter on its own.
//
// Beyond "no crash": the hex text writes the buffer back exactly, the filter keeps every field
// bit in its place, and a card of a known bit count always becomes prox data that Split Data
// reads back to the card's own facility code and hotstamp.
#include <algorithm>
#include <cctype>
#include <cstring>
#include <vector>

#include "formats/bits.h"
#include "formats/card_format.h"
#include "formats/prox_data.h"
#include "formats/split_catalogue.h"
#include "formats/split_data.h"
#include "fuzz/fuzz_support.h"
#include "readers/prox_filter.h"
#include "readers/usb_card_read.h"

namespace {

using namespace morvane;

// A reader that has exactly one card to give.
class OneCardReader : public ReaderLibrary {
  public:
    OneCardReader(std::int16_t bitCount, const CardBuffer& card)
        : bitCount_(bitCount), card_(card) {}

    std::int16_t SetDevTypeSrch(std::int16_t) override { return 1; }
    std::int16_t SetConnectProduct(std::int16_t) override { return 1; }
    std::int16_t USBConnect(std::int32_t&) override { return 1; }
    std::int16_t ReadCfg() override { return 1; }
    std::int16_t GetDevCnt() override { return 1; }
    std::int16_t SetActDev(std::int16_t) override { return 1; }
    std::int16_t GetActDev() override { return 0; }
    std::int16_t GetLUID() override { return 0; }
    std::int16_t SetLUID(std::int16_t) override { return 1; }
    std::int16_t setRecord(RecordId, const ParameterRecord&) override { return 1; }
    std::int16_t WriteCfg() override { return 1; }
    std::int16_t GetActiveID(CardBuffer& buffer) override {
        buffer = card_;
        return bitCount_;
    }

  private:
    std::int16_t bitCount_;
    CardBuffer card_;
};

struct RecordingMessages : CardReadMessages {
    std::vector<std::string> messages;
    std::vector<std::string> critical;
    void showMessage(std::string_view text) override { messages.emplace_back(text); }
    void showCritical(std::string_view text, std::string_view) override {
        critical.emplace_back(text);
    }
};

bool isUpperHex(char c) { return (c >= '0' && c <= '9') || (c >= 'A' && c <= 'F'); }

void checkHexText(const CardBuffer& card) {
    const std::string hex = cardHexText(card);
    FUZZ_CHECK(hex.size() % 2 == 0 && std::all_of(hex.begin(), hex.end(), isUpperHex));
    FUZZ_CHECK(!hex.starts_with("00"));
    std::uint64_t value = 0;
    for (std::size_t i = 0; i < card.size(); ++i) value |= std::uint64_t{card[i]} << (8 * i);
    FUZZ_CHECK(hex.empty() == (value == 0));
    if (!hex.empty()) FUZZ_CHECK(std::stoull(hex, nullptr, 16) == value);
}

const SplitColumn& columnOf(std::string_view code) {
    const auto columns = splitColumns();
    return *std::find_if(columns.begin(), columns.end(),
                         [&](const SplitColumn& c) { return layout(c.layout).code == code; });
}

void checkRead(std::int16_t bitCount, const CardBuffer& card) {
    OneCardReader reader(bitCount, card);
    RecordingMessages shown;
    const std::string result = ReadUSBCard(&reader, shown);
    if (bitCount == 0) {
        FUZZ_CHECK(result.empty() && shown.messages.empty());
        FUZZ_CHECK(shown.critical == std::vector<std::string>{std::string(kNoDataReadFromCard)});
        return;
    }
    FUZZ_CHECK(shown.critical.empty() && shown.messages.size() <= 1);
    const std::string_view code = readerFormatCode(bitCount);
    const std::string_view mask = readerLayoutMask(code);
    FUZZ_CHECK(mask.size() == (code.empty() ? 0U : static_cast<std::size_t>(bitCount)));
    if (code.empty()) {
        FUZZ_CHECK(result.empty() && shown.messages.size() == 1);
        return;
    }
    if (code == "Casi") {
        FUZZ_CHECK(result == kNoResult && shown.messages.empty());
        return;
    }
    // Every field of a reader layout fits its format's limits, so the card always converts.
    FUZZ_CHECK(shown.messages.empty());
    FUZZ_CHECK(result.size() == static_cast<std::size_t>(kProxDataDigits) &&
               fuzz::isOctalDigits(result));
    std::string facility;
    std::string hotstamp;
    FUZZ_CHECK(FilterByMask(mask, cardHexText(card), facility, hotstamp));
    const SplitResult split = SplitData(result);
    const SplitColumn& column = columnOf(code);
    FUZZ_CHECK(split.matches(column.id));
    FUZZ_CHECK(cellText(split, column.id, GridRow::Hotstamp) == FieldValue(hotstamp));
    FUZZ_CHECK(cellText(split, column.id, GridRow::Facility) == FieldValue(facility));
}

void checkFilter(std::string_view mask, std::string_view cardHex) {
    std::string facility = "untouched";
    std::string hotstamp = "untouched";
    const bool hex = std::all_of(cardHex.begin(), cardHex.end(), [](char c) {
        return std::isxdigit(static_cast<unsigned char>(c)) != 0;
    });
    FUZZ_CHECK(FilterByMask(mask, cardHex, facility, hotstamp) == hex);
    if (!hex) {
        FUZZ_CHECK(facility == "untouched" && hotstamp == "untouched");
        return;
    }
    FUZZ_CHECK(facility.size() ==
               static_cast<std::size_t>(std::count(mask.begin(), mask.end(), 'F')));
    FUZZ_CHECK(hotstamp.size() ==
               static_cast<std::size_t>(std::count(mask.begin(), mask.end(), 'I')));
    for (const std::string* field : {&facility, &hotstamp}) {
        FUZZ_CHECK(field->find_first_not_of("01") == std::string::npos);
        const std::string value = FieldValue(*field);
        FUZZ_CHECK(fuzz::isPlainWholeNumber(value));
        if (field->size() <= 64) FUZZ_CHECK(value == std::to_string(bitStringValue(*field)));
    }
    // A mask of hotstamp bits only reads the card's lowest bits as they stand.
    const std::size_t width = mask.size();
    if (width > 0 && width <= 64 && cardHex.size() <= 16 && !cardHex.empty() &&
        mask.find_first_not_of('I') == std::string_view::npos) {
        const std::uint64_t card = std::stoull(std::string(cardHex), nullptr, 16);
        const std::uint64_t low = width == 64 ? card : card & ((std::uint64_t{1} << width) - 1);
        FUZZ_CHECK(FieldValue(hotstamp) == std::to_string(low));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::uint8_t head[2 + kCardBufferBytes] = {};
    std::memcpy(head, data, std::min(size, sizeof head));
    const auto bitCount = static_cast<std::int16_t>(head[0] | head[1] << 8);
    CardBuffer card{};
    std::memcpy(card.data(), head + 2, card.size());

    checkHexText(card);
    checkRead(bitCount, card);
    if (size > sizeof head) {
        const auto in = fuzz::lines(fuzz::asText(data + sizeof head, size - sizeof head), 2);
        checkFilter(in[0], in[1]);
    }
    return 0;
}
