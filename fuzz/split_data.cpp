// Split Data over any card data: what is typed into the card data box, what a lock sends and
// what morvane-cli reads line by line. Input: the card data.
//
// Beyond "no crash": the bit data is the 48 bits of card data the box holds, or nothing; a
// rejected run leaves every box empty, each column holds its values or its refusal text, card
// data a format accepts within its limits converts back to the same number, and the command line's
// table and JSON line stay printable and on their lines.
#include "formats/split_data.h"

#include <nlohmann/json.hpp>
#include <string>

#include "cli/split_output.h"
#include "formats/card_format.h"
#include "formats/prox_data.h"
#include "formats/split_catalogue.h"
#include "fuzz/fuzz_support.h"
#include "support/recording_host.h"

namespace {

using namespace morvane;

void checkBitData(std::string_view cardData, const SplitResult& r) {
    const bool octal = fuzz::isOctalDigits(cardData) && cardData.size() <= kMaxCardDataLength;
    FUZZ_CHECK(r.state == (octal ? SplitState::Split : SplitState::Rejected));
    if (!octal) {
        FUZZ_CHECK(bitData(r).empty() && !r.anyMatch());
        for (const SplitColumn& column : splitColumns()) {
            for (std::size_t row = 0; row < kGridRowCount; ++row) {
                FUZZ_CHECK(cellText(r, column.id, static_cast<GridRow>(row)).empty());
            }
        }
        return;
    }
    const std::string bits = bitData(r);
    // Card data is a number: its digits end the 48 bits, zeros in front of them.
    FUZZ_CHECK(bits.size() == (cardData.empty() ? 0 : 48));
    const std::size_t lead = bits.size() - 3 * cardData.size();
    FUZZ_CHECK(bits.find('1') >= lead);
    for (std::size_t i = 0; i < cardData.size(); ++i) {
        const int digit = cardData[i] - '0';
        for (int b = 0; b < 3; ++b) {
            FUZZ_CHECK(bits[lead + 3 * i + static_cast<std::size_t>(b)] ==
                       (((digit >> (2 - b)) & 1) != 0 ? '1' : '0'));
        }
    }
}

// A matching column shows whole numbers where it has fields; any other column shows its refusal
// in its refusal rows and nothing else, with a reason.
void checkColumns(const SplitResult& r) {
    for (const SplitColumn& column : splitColumns()) {
        const bool matched = r.matches(column.id);
        FUZZ_CHECK(
            matched ||
            !findingText(layout(column.layout), r.column(column.id).finding, r.word).empty());
        for (std::size_t row = 0; row < kGridRowCount; ++row) {
            const std::string shown = cellText(r, column.id, static_cast<GridRow>(row));
            if (matched && column.fields[row].present()) {
                FUZZ_CHECK(fuzz::isPlainWholeNumber(shown) && shown.size() <= 11);  // 35 bits
            } else {
                FUZZ_CHECK(shown == (!matched && column.refusalRows[row] ? column.refusal : ""));
            }
        }
    }
}

std::uint64_t shownValue(const SplitResult& r, const SplitColumn& column, GridRow row) {
    return r.column(column.id).values[static_cast<std::size_t>(row)];
}

// Card data that a format accepts, with values inside its limits, is exactly what the Convert
// direction makes of those values, leading zeros aside: the check and the decoder lose nothing.
void checkConvertsBack(std::string_view shortCardData, const SplitResult& r) {
    if (shortCardData.empty()) return;
    const std::string cardData =
        std::string(kProxDataDigits - shortCardData.size(), '0') + std::string(shortCardData);
    for (const SplitColumn& column : splitColumns()) {
        if (!r.matches(column.id)) continue;
        const Layout& l = layout(column.layout);
        // The 35-bit check looks at nothing above its sentinel: those digits are not its own.
        if (column.id == SplitFormatId::F35 && cardData.substr(0, 4) != "0000") continue;
        const std::uint64_t hotstamp = shownValue(r, column, GridRow::Hotstamp);
        const std::uint64_t facility = shownValue(r, column, GridRow::Facility);
        const std::uint64_t version = shownValue(r, column, GridRow::Version);
        if (hotstamp > l.hotstampLimit || facility > l.facilityLimit.value_or(0) ||
            version > l.versionLimit.value_or(0)) {
            continue;
        }
        test::RecordingHost host;
        host.facility = std::to_string(facility);
        host.version = std::to_string(version);
        const std::string proxData = CalcProxData(std::to_string(hotstamp), l.code,
                                                  static_cast<std::int32_t>(facility), host);
        FUZZ_CHECK(proxData == cardData);
    }
}

void checkCommandLineOutput(std::string_view cardData, const SplitResult& r) {
    const std::string reason = cli::rejectionReason(cardData, r);
    FUZZ_CHECK(reason.empty() == (r.state != SplitState::Rejected));

    // Nothing a terminal might act on reaches it.
    const std::string table = cli::splitTable(cardData, r, rankFormats(r));
    for (char c : table) FUZZ_CHECK(c == '\n' || (c >= 0x20 && c <= 0x7e));
    FUZZ_CHECK(table.ends_with("\n\n"));

    // Kept from input to input, as in a batch: a kept reason is the one written afresh.
    static RankingReasons reasons;
    std::string line;
    const FormatRanking ranking = rankFormats(r);
    cli::appendSplitJson(line, cardData, r, ranking, reasons);
    FUZZ_CHECK(fuzz::isPrintableAscii(line));
    const auto object = nlohmann::json::parse(line, nullptr, false);
    FUZZ_CHECK(!object.is_discarded());
    FUZZ_CHECK(object.at("bit_data") == bitData(r));
    FUZZ_CHECK(object.at("rejected") == (r.state == SplitState::Rejected));
    if (fuzz::isPrintableAscii(cardData)) FUZZ_CHECK(object.at("card_data") == cardData);
    if (r.state != SplitState::Rejected) {
        FUZZ_CHECK(object.at("ranking").at("reason") == rankingReason(r, ranking));
    }
    for (const SplitColumn& column : splitColumns()) {
        if (r.state == SplitState::Rejected) break;
        const auto& format = object.at("formats").at(std::string(layout(column.layout).code));
        FUZZ_CHECK(format.at("passes") == r.matches(column.id));
        if (r.matches(column.id)) {
            FUZZ_CHECK(format.at("hotstamp") == shownValue(r, column, GridRow::Hotstamp));
        } else {
            FUZZ_CHECK(format.at("refusal") == column.refusal);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view cardData = fuzz::asText(data, size);
    const SplitResult r = SplitData(cardData);
    checkBitData(cardData, r);
    if (r.state == SplitState::Split) {
        checkColumns(r);
        checkConvertsBack(cardData, r);
    }
    checkCommandLineOutput(cardData, r);

    // Longer card data than the box holds is refused by the command line before any split.
    if (cli::characterCount(cardData) > kMaxCardDataLength) {
        SplitResult refused;
        refused.state = SplitState::Rejected;
        checkCommandLineOutput(cardData, refused);
    }
    return 0;
}
