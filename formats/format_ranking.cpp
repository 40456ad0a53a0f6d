#include "formats/format_ranking.h"

#include <algorithm>
#include <bit>

#include "formats/bit_roles.h"
#include "formats/numeric_text.h"

namespace morvane {

using namespace std::string_view_literals;

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

// What ranking needs of each column, worked out once from the catalogue: a batch ranks millions.
struct ColumnFacts {
    const Layout* layout;
    SplitFormatId kin;  // the first column that reads its credential the same way
    int topBit;         // its sentinel, or else the top bit of its frame
    bool sentinel;
    bool facility;  // it reads a facility code
};

const std::array<ColumnFacts, kSplitFormatCount>& factsOf() {
    static const auto kFacts = [] {
        std::array<ColumnFacts, kSplitFormatCount> facts{};
        for (const SplitColumn& column : splitColumns()) {
            const Layout& l = layout(column.layout);
            const auto kin = std::find_if(splitColumns().begin(), splitColumns().end(),
                                          [&](const auto& c) { return sameCredential(c, column); });
            facts[static_cast<std::size_t>(column.id)] = {
                &l, kin->id, l.sentinelBit >= 0 ? l.sentinelBit : frameTop(l) - 1,
                l.sentinelBit >= 0, column.fields[kFacilityRow].present()};
        }
        return facts;
    }();
    return kFacts;
}

const ColumnFacts& factsOf(SplitFormatId id) { return factsOf()[static_cast<std::size_t>(id)]; }

const Layout* readerLayout(const RankingInputs& inputs) {
    return inputs.readerBitCount ? findLayout(readerFormatCode(*inputs.readerBitCount)) : nullptr;
}

// `reader` is the layout the reader's bit count names, or null.
FormatEvidence evidenceFor(const ColumnFacts& facts, SplitFormatId id, const SplitResult& split,
                           const RankingInputs& inputs, const Layout* reader) {
    const bool tops = static_cast<int>(std::bit_width(split.word.bits)) - 1 == facts.topBit;
    return {
        .readerCount = reader != nullptr && reader == facts.layout,
        .siteFacility = inputs.site != nullptr && facts.facility &&
                        inputs.site->uses(id, split.column(id).values[kFacilityRow]),
        .sentinel = tops && facts.sentinel,
        .frameTop = tops && !facts.sentinel,
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

// Strongest evidence first; insertion keeps tied formats in column order, with nine at most and
// nothing allocated. Tied formats share a place.
void placeByEvidence(std::span<RankedFormat> ranked) {
    for (std::size_t i = 1; i < ranked.size(); ++i) {
        const RankedFormat r = ranked[i];
        std::size_t j = i;
        for (; j > 0 && weight(ranked[j - 1].evidence) < weight(r.evidence); --j) {
            ranked[j] = ranked[j - 1];
        }
        ranked[j] = r;
    }
    for (std::size_t i = 0; i < ranked.size(); ++i) {
        const bool tied = i > 0 && ranked[i].evidence == ranked[i - 1].evidence;
        ranked[i].place = i == 0 ? 1 : ranked[i - 1].place + (tied ? 0 : 1);
    }
}

}  // namespace

FormatRanking rankFormats(const SplitResult& split, const RankingInputs& inputs) {
    FormatRanking ranking;
    ranking.readerBitCount = inputs.readerBitCount;
    if (split.state != SplitState::Split) return ranking;
    const auto& facts = factsOf();
    const Layout* reader = readerLayout(inputs);
    // Whatever speaks for a format speaks for its kin, which passes whenever it does.
    std::array<FormatEvidence, kSplitFormatCount> ofKin{};
    for (std::size_t i = 0; i < kSplitFormatCount; ++i) {
        const auto id = static_cast<SplitFormatId>(i);
        if (split.columns[i].passes()) {
            FormatEvidence& kin = ofKin[static_cast<std::size_t>(facts[i].kin)];
            kin = either(kin, evidenceFor(facts[i], id, split, inputs, reader));
            ranking.ranked[ranking.count++] = {id, 0, {}};
        } else if (reader != nullptr && reader == facts[i].layout) {
            ranking.readerFormatRefused = id;
        }
    }
    const auto ranked = std::span(ranking.ranked.data(), ranking.count);
    for (RankedFormat& r : ranked) {
        r.evidence = ofKin[static_cast<std::size_t>(facts[static_cast<std::size_t>(r.id)].kin)];
    }
    placeByEvidence(ranked);
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
void appendEvidence(std::string& out, const RankedFormat& r, const SplitResult& split,
                    const FormatRanking& ranking) {
    const std::size_t start = out.size();
    const auto part = [&]() -> std::string& { return out += out.size() == start ? "" : "; "; };
    if (r.evidence.readerCount) {
        appendDecimal(part() += "the reader read "sv,
                      static_cast<std::uint64_t>(*ranking.readerBitCount)) += " bits"sv;
    }
    if (r.evidence.siteFacility) {
        appendDecimal(part() += "facility code "sv, split.column(r.id).values[kFacilityRow]) +=
            " is one this site uses";
    }
    const auto top = static_cast<std::uint64_t>(factsOf(r.id).topBit);
    if (r.evidence.sentinel) {
        appendDecimal(part() += "the sentinel at bit "sv, top) += " and nothing above it"sv;
    }
    if (r.evidence.frameTop) {
        appendDecimal(
            appendDecimal(part() += "the highest set bit is bit "sv, top) += ", the top of its "sv,
            top + 1) += "-bit frame"sv;
    }
}

}  // namespace

void appendRankingReason(std::string& out, const SplitResult& split, const FormatRanking& ranking) {
    if (ranking.count == 0) return;
    appendMostLikely(out += "most likely "sv, ranking);
    out += ": "sv;
    const std::size_t start = out.size();
    // Tied formats that say the same (37 Bit V and 37 Bit always do) say it once.
    for (const RankedFormat& r : ranking.mostLikely()) {
        const std::size_t before = out.size();
        if (before > start) out += "; "sv;
        appendEvidence(out, r, split, ranking);
        const std::string_view said(out.data() + start, before - start);
        const std::string_view text(out.data() + before + (before > start ? 2 : 0),
                                    out.size() - before - (before > start ? 2 : 0));
        if (text.empty() || said.find(text) != std::string_view::npos) out.resize(before);
    }
    if (out.size() == start) {
        out += ranking.count == 1 ? "the only format that passes"
                                  : "nothing in the card data tells them apart";
    }
    if (ranking.readerFormatRefused) {
        const SplitColumn& refused = splitColumn(*ranking.readerFormatRefused);
        appendDecimal(out += "; the reader read "sv,
                      static_cast<std::uint64_t>(*ranking.readerBitCount)) +=
            " bits, but the card data is not a ";
        out.append(refused.heading) += " credential"sv;
    }
}

std::string rankingReason(const SplitResult& split, const FormatRanking& ranking) {
    std::string text;
    appendRankingReason(text, split, ranking);
    return text;
}

// Kept, `split --json` over a million lines of mixed card data took 0.66 to 0.68 s of CPU time;
// written each time, 0.69 to 0.74 s (the floor command line 0.15 s in the same runs).
void RankingReasons::append(std::string& out, const SplitResult& split,
                            const FormatRanking& ranking) {
    const auto first = ranking.mostLikely();
    // A reader's bit count and a site's facility codes are named in the reason: not kept.
    if (first.empty() || ranking.readerBitCount || first.front().evidence.siteFacility) {
        appendRankingReason(out, split, ranking);
        return;
    }
    // What decides the rest: the formats in first place, the evidence they share as they are
    // tied, and whether they are the only ones that pass.
    auto outcome = static_cast<std::uint32_t>(weight(first.front().evidence)) << kSplitFormatCount;
    if (ranking.count == 1) outcome |= 1U << (kSplitFormatCount + 4);
    for (const RankedFormat& r : first) outcome |= 1U << static_cast<unsigned>(r.id);
    const auto [known, added] = byOutcome_.try_emplace(outcome);
    if (added) appendRankingReason(known->second, split, ranking);
    out += known->second;
}

}  // namespace morvane
