#include "formats/card_check.h"

#include <array>
#include <bit>
#include <utility>

#include "formats/card_data_reason.h"
#include "formats/card_explain.h"
#include "formats/split_data.h"

namespace morvane {

namespace {

// The fields an operator types, in the order a wrong one is most often to blame.
constexpr std::array<std::pair<GridRow, std::string_view>, 3> kTypedFields{{
    {GridRow::Facility, "facility code"},
    {GridRow::Hotstamp, "hotstamp"},
    {GridRow::Version, "version"},
}};

std::string fieldDifferences(const SplitColumn& column, const ColumnResult& card,
                             const ColumnResult& typed) {
    std::string out;
    for (const auto& [row, name] : kTypedFields) {
        const auto r = static_cast<std::size_t>(row);
        if (column.fields[r].width == 0 || card.values[r] == typed.values[r]) continue;
        if (!out.empty()) out += "; ";
        out.append(name).append(" ").append(std::to_string(card.values[r]));
        out.append(" on the card, ").append(std::to_string(typed.values[r])).append(" typed");
    }
    return out;
}

std::string notThisFormat(const SplitColumn& column, const SplitResult& card,
                          const RankingInputs& inputs) {
    std::string out = "the card is not a ";
    out.append(column.heading).append(" credential");
    const FormatRanking ranking = rankFormats(card, inputs);
    if (ranking.count == 0) return out + " (nor any known format)";
    appendMostLikely(out += " (most likely ", ranking);
    return out += ")";
}

}  // namespace

CardCheck checkCard(const TypedCredential& typed, std::string_view cardData,
                    const RankingInputs& inputs) {
    const SplitResult card = SplitData(cardData);
    if (card.state != SplitState::Split) {
        return {false, "the card's data cannot be read: " + rejectionReason(cardData, card), 0};
    }
    const SplitResult mine = SplitData(typed.proxData);
    const Layout* built = builtLayout(typed.format, typed.facilityCode);
    if (mine.state != SplitState::Split || built == nullptr) {
        return {false, "there is no typed prox data to compare", 0};
    }
    const std::uint64_t differing = card.word.bits ^ mine.word.bits;
    if (differing == 0) return {true, "matches", 0};
    const SplitColumn& column = columnOfLayout(built->id);
    if (!card.matches(column.id)) return {false, notThisFormat(column, card, inputs), differing};
    std::string fields;
    if (mine.matches(column.id)) {
        fields = fieldDifferences(column, card.column(column.id), mine.column(column.id));
    }
    return {false, fields.empty() ? "the card's data differs from the typed prox data" : fields,
            differing};
}

std::string differingBitsText(const CardCheck& check) {
    if (check.differingBits == 0) return {};
    std::string out;
    appendBitList(out, check.differingBits);
    out.front() = 'B';  // it starts a sentence of its own
    const bool one = std::has_single_bit(check.differingBits);
    return out.append(one ? " differs" : " differ").append(" from the card (marked ^)");
}

}  // namespace morvane
