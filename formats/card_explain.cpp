#include "formats/card_explain.h"

#include <algorithm>
#include <bit>

#include "formats/frame_word.h"
#include "formats/numeric_text.h"

namespace morvane {

namespace {

int highestBit(std::uint64_t bits) { return static_cast<int>(std::bit_width(bits)) - 1; }

// "bit 7", "bits 25..13", or the runs of an interleaved group: "bits 33..31, 29..28, ...".
void appendBitList(std::string& out, std::uint64_t bits) {
    out += std::has_single_bit(bits) ? "bit " : "bits ";
    bool first = true;
    for (int high = highestBit(bits); high >= 0; --high) {
        if ((bits & bitAt(high)) == 0) continue;
        int low = high;
        while (low > 0 && (bits & bitAt(low - 1)) != 0) --low;
        if (!first) out += ", ";
        first = false;
        appendDecimal(out, static_cast<std::uint64_t>(high));
        if (low < high) appendDecimal(out += "..", static_cast<std::uint64_t>(low));
        high = low;
    }
}

// What the rules of one layout need, worked out once from its catalogue entry.
struct RuleBits {
    std::uint64_t aboveFrame = 0;  // above the frame, sentinel excepted
    std::uint64_t fixedZeros = 0;  // inside the frame, beyond a field's limit
    int frameTop = 0;
    // Per parity rule, what its group must be: " but must make bits 12..0 odd". A batch
    // explains millions of refusals, and these are the longest words of them.
    std::array<std::string, 3> mustMake;
};

RuleBits ruleBitsFor(const Layout& l) {
    const int top = frameTop(l);
    std::uint64_t above = bitRange(kProxWordBits - 1, top);
    if (l.sentinelBit >= 0) above &= ~bitAt(l.sentinelBit);
    RuleBits bits{above, fieldZeroBits(l), top, {}};
    for (std::size_t i = 0; i < l.parity.size(); ++i) {
        const ParityRule& rule = l.parity[i];
        appendBitList(bits.mustMake.at(i) = " but must make ", rule.group | bitAt(rule.bit));
        bits.mustMake[i] += rule.kind == Parity::Even ? " even" : " odd";
    }
    return bits;
}

std::array<RuleBits, kLayoutCount> ruleBitsOfEveryLayout() {
    std::array<RuleBits, kLayoutCount> bits;
    for (const Layout& each : layouts()) {
        bits[static_cast<std::size_t>(each.id)] = ruleBitsFor(each);
    }
    return bits;
}

const RuleBits& ruleBitsOf(const Layout& l) {
    static const std::array<RuleBits, kLayoutCount> kBits = ruleBitsOfEveryLayout();
    return kBits[static_cast<std::size_t>(l.id)];
}

const ParityRule* brokenParity(const Layout& l, std::uint64_t bits) {
    for (const ParityRule& rule : l.parity) {
        if (hasOddOnes(bits & (rule.group | bitAt(rule.bit))) != (rule.kind == Parity::Odd)) {
            return &rule;
        }
    }
    return nullptr;
}

}  // namespace

Finding evaluate(const Layout& l, CardWord w, bool aboveFrameRead) {
    if (w.length == 0) return {Rule::NoCardData};
    if (l.sentinelBit >= 0 && (w.bits & bitAt(l.sentinelBit)) == 0) {
        return {Rule::Sentinel, bitAt(l.sentinelBit)};
    }
    if (const std::uint64_t missing = l.fixedOnes & ~w.bits) return {Rule::FixedOne, missing};
    const RuleBits& rb = ruleBitsOf(l);
    if (const std::uint64_t set = rb.aboveFrame & w.bits; set != 0 && aboveFrameRead) {
        return {Rule::AboveFrame, set};
    }
    if (const std::uint64_t set = rb.fixedZeros & w.bits) return {Rule::FixedZero, set};
    if (const ParityRule* rule = brokenParity(l, w.bits)) {
        return {Rule::Parity, bitAt(rule->bit), rule};
    }
    return {};
}

// The sentence names every bit the rule found, so that the map's carets mark what it says.
void appendFindingText(std::string& out, const Layout& l, const Finding& f, CardWord w) {
    const auto top = static_cast<std::uint64_t>(highestBit(f.bits));
    const bool one = std::has_single_bit(f.bits);
    switch (f.rule) {
        case Rule::None:
            return;
        case Rule::NoCardData:
            out += "there is no card data";
            return;
        case Rule::Sentinel:
            appendDecimal(out += "sentinel bit ", top) += " is 0";
            return;
        case Rule::FixedOne:
            appendBitList(out += "fixed ", f.bits);
            out += " must be 1";
            return;
        case Rule::AboveFrame:
            appendBitList(out, f.bits);
            appendDecimal(out += one ? " lies above the " : " lie above the ",
                          static_cast<std::uint64_t>(ruleBitsOf(l).frameTop)) +=
                one ? "-bit frame and is 1" : "-bit frame and are 1";
            return;
        case Rule::FixedZero:
            appendBitList(out += "fixed ", f.bits);
            out += " must be 0";
            return;
        case Rule::Parity:
            appendDecimal(out += "parity bit ", top) += (w.bits & f.bits) != 0 ? " is 1" : " is 0";
            out += ruleBitsOf(l).mustMake.at(static_cast<std::size_t>(f.parity - l.parity.data()));
            return;
    }
}

std::string findingText(const Layout& l, const Finding& f, CardWord w) {
    std::string text;
    appendFindingText(text, l, f, w);
    return text;
}

namespace {

void appendValue(std::string& out, GridRow row, std::uint64_t value) {
    if (!out.empty()) out += ", ";
    out += gridRowLabel(row);
    if (!out.ends_with(':')) out += ':';
    appendDecimal(out += ' ', value);
}

CardExplanation explained(const Layout& l, CardWord w, bool aboveFrameRead) {
    CardExplanation e;
    e.roles = bitRoles(l, aboveFrameRead);
    e.length = std::clamp(w.length, 0, kProxWordBits);
    const Finding f = evaluate(l, w, aboveFrameRead);
    e.passes = f.passes();
    e.failingBits = f.bits;
    appendFindingText(e.verdict, l, f, w);
    return e;
}

}  // namespace

CardExplanation explainColumn(SplitFormatId id, CardWord w) {
    const SplitColumn& column = splitColumn(id);
    CardExplanation e = explained(layout(column.layout), w, column.readsAboveFrame);
    if (!e.passes) return e;
    for (std::size_t r = 0; r < kGridRowCount; ++r) {
        const Field f = column.fields[r];
        if (f.present()) appendValue(e.verdict, static_cast<GridRow>(r), f.read(w.bits));
    }
    return e;
}

CardExplanation explainLayout(const Layout& l, CardWord w) {
    CardExplanation e = explained(l, w, true);
    if (!e.passes) return e;
    const std::pair<Field, GridRow> fields[] = {{l.hotstamp, GridRow::Hotstamp},
                                                {l.facility, GridRow::Facility},
                                                {l.version, GridRow::Version}};
    for (const auto& [field, row] : fields) {
        if (field.present()) appendValue(e.verdict, row, field.read(w.bits));
    }
    return e;
}

std::string roleLetters(const CardExplanation& e) {
    std::string letters;
    for (int p = e.length - 1; p >= 0; --p) {
        letters.push_back(roleLetter(e.roles[static_cast<std::size_t>(p)]));
    }
    return letters;
}

}  // namespace morvane
