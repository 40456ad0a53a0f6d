#include "formats/format_ranking.h"

#include <algorithm>
#include <bit>

#include "formats/bit_roles.h"
#include "formats/numeric_text.h"

namespace morvane {

namespace {

constexpr auto kFacilityRow = static_cast<std::size_t>(GridRow::Facility);

bool sameField(Field a, Field b) { return a.low == b.low && a.width == b.width; }

bool sameParity(std::span<const ParityRule> a, std::span<const ParityRule> b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const auto& x, const auto& y) {
        return x.bit == y.bit && x.kind == y.kind && x.group == y.group;
    });
}

// Two columns that check a credential the same way and read its fields from the same bits: no
// card data can tell them apart.
bool sameCredential(const SplitColumn& a, const SplitColumn& b) {
    const Layout& x = layout(a.layout);
    const Layout& y = layout(b.layout);
    return x.frameBits == y.frameBits && x.sentinelBit == y.sentinelBit &&
           x.fixedOnes == y.fixedOnes && sameParity(x.parity, y.parity) &&
           a.readsAboveFrame == b.readsAboveFrame && sameField(x.hotstamp, y.hotstamp) &&
           sameField(x.facility, y.facility) && sameField(x.version, y.version);
}

// For each column, the first column that reads its credential the same way.
const std::array<SplitFormatId, kSplitFormatCount>& kinOf() {
    static const auto kKin = [] {
        std::array<SplitFormatId, kSplitFormatCount> kin{};
        for (const SplitColumn& column : splitColumns()) {
            const auto first =
                std::find_if(splitColumns().begin(), splitColumns().end(),
                             [&](const auto& c) { return sameCredential(c, column); });
            kin[static_cast<std::size_t>(column.id)] = first->id;
        }
        return kin;
    }();
    return kKin;
}

const Layout* readerLayout(const RankingInputs& inputs) {
    return inputs.readerBitCount ? findLayout(readerFormatCode(*inputs.readerBitCount)) : nullptr;
}

FormatEvidence evidenceFor(const SplitColumn& column, const SplitResult& split,
                           const RankingInputs& inputs) {
    const Layout& l = layout(column.layout);
    const int highest = static_cast<int>(std::bit_width(split.word.bits)) - 1;
    const ColumnResult& c = split.column(column.id);
    return {
        .readerCount = readerLayout(inputs) == &l,
        .siteFacility = inputs.site != nullptr && column.fields[kFacilityRow].present() &&
                        inputs.site->uses(column.id, c.values[kFacilityRow]),
        .sentinel = l.sentinelBit >= 0 && highest == l.sentinelBit,
        .frameTop = l.sentinelBit < 0 && highest == frameTop(l) - 1,
    };
}

// Strongest first: the first kind of evidence that differs decides.
int weight(const FormatEvidence& e) {
    return (e.readerCount ? 8 : 0) + (e.siteFacility ? 4 : 0) + (e.sentinel ? 2 : 0) +
           (e.frameTop ? 1 : 0);
}

FormatEvidence either(const FormatEvidence& a, const FormatEvidence& b) {
    return {a.readerCount || b.readerCount, a.siteFacility || b.siteFacility,
            a.sentinel || b.sentinel, a.frameTop || b.frameTop};
}

}  // namespace

FormatRanking rankFormats(const SplitResult& split, const RankingInputs& inputs) {
    FormatRanking ranking;
    ranking.readerBitCount = inputs.readerBitCount;
    if (split.state != SplitState::Split) return ranking;
    std::array<FormatEvidence, kSplitFormatCount> evidence{};
    for (const SplitColumn& column : splitColumns()) {
        const auto i = static_cast<std::size_t>(column.id);
        if (split.column(column.id).passes()) {
            evidence[i] = evidenceFor(column, split, inputs);
            ranking.ranked[ranking.count++] = {column.id, 0, {}};
        } else if (readerLayout(inputs) == &layout(column.layout)) {
            ranking.readerFormatRefused = column.id;
        }
    }
    // Whatever speaks for a format speaks for its kin, which passes whenever it does.
    const auto ranked = std::span(ranking.ranked.data(), ranking.count);
    for (RankedFormat& r : ranked) {
        for (const RankedFormat& other : ranked) {
            if (kinOf()[static_cast<std::size_t>(other.id)] ==
                kinOf()[static_cast<std::size_t>(r.id)])
                r.evidence = either(r.evidence, evidence[static_cast<std::size_t>(other.id)]);
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(), [](const auto& a, const auto& b) {
        return weight(a.evidence) > weight(b.evidence);
    });
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        const bool tied = i > 0 && ranked[i].evidence == ranked[i - 1].evidence;
        ranked[i].place = i == 0 ? 1 : ranked[i - 1].place + (tied ? 0 : 1);
    }
    return ranking;
}

std::span<const RankedFormat> FormatRanking::mostLikely() const {
    const auto end =
        std::find_if(ranked.begin(), ranked.begin() + static_cast<std::ptrdiff_t>(count),
                     [](const RankedFormat& r) { return r.place != 1; });
    return {ranked.data(), static_cast<std::size_t>(end - ranked.begin())};
}

bool FormatRanking::isMostLikely(SplitFormatId id) const {
    const auto first = mostLikely();
    return std::any_of(first.begin(), first.end(),
                       [&](const RankedFormat& r) { return r.id == id; });
}

void appendMostLikely(std::string& out, const FormatRanking& ranking) {
    const auto first = ranking.mostLikely();
    for (std::size_t i = 0; i < first.size(); ++i) {
        if (i > 0) out += i + 1 == first.size() ? " or " : ", ";
        out += splitColumn(first[i].id).heading;
    }
}

namespace {

// The evidence for one format in words, each part one the bit map shows.
std::string evidenceText(const RankedFormat& r, const SplitResult& split,
                         const FormatRanking& ranking) {
    const Layout& l = layout(splitColumn(r.id).layout);
    std::string text;
    const auto part = [&]() -> std::string& { return text += text.empty() ? "" : "; "; };
    if (r.evidence.readerCount) {
        appendDecimal(part() += "the reader read ",
                      static_cast<std::uint64_t>(*ranking.readerBitCount)) += " bits";
    }
    if (r.evidence.siteFacility) {
        appendDecimal(part() += "facility code ", split.column(r.id).values[kFacilityRow]) +=
            " is one this site uses";
    }
    if (r.evidence.sentinel) {
        appendDecimal(part() += "the sentinel at bit ",
                      static_cast<std::uint64_t>(l.sentinelBit)) += " and nothing above it";
    }
    if (r.evidence.frameTop) {
        const auto top = static_cast<std::uint64_t>(frameTop(l));
        appendDecimal(
            appendDecimal(part() += "the highest set bit is bit ", top - 1) += ", the top of its ",
            top) += "-bit frame";
    }
    return text;
}

}  // namespace

void appendRankingReason(std::string& out, const SplitResult& split, const FormatRanking& ranking) {
    if (ranking.count == 0) return;
    appendMostLikely(out += "most likely ", ranking);
    std::string because;
    for (const RankedFormat& r : ranking.mostLikely()) {
        const std::string text = evidenceText(r, split, ranking);
        if (because.find(text) == std::string::npos)
            because += (because.empty() ? "" : "; ") + text;
    }
    if (because.empty()) {
        because = ranking.count == 1 ? "the only format that passes"
                                     : "nothing in the card data tells them apart";
    }
    out += ": " + because;
    if (ranking.readerFormatRefused) {
        const SplitColumn& refused = splitColumn(*ranking.readerFormatRefused);
        appendDecimal(out += "; the reader read ",
                      static_cast<std::uint64_t>(*ranking.readerBitCount)) +=
            " bits, but the card data is not a ";
        out.append(refused.heading) += " credential";
    }
}

std::string rankingReason(const SplitResult& split, const FormatRanking& ranking) {
    std::string text;
    appendRankingReason(text, split, ranking);
    return text;
}

}  // namespace morvane
