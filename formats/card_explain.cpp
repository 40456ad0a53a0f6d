#include "formats/card_explain.h"

#include <algorithm>
#include <bit>
#include <optional>

#include "formats/frame_word.h"
#include "formats/split_decoders.h"

namespace morvane {

namespace {

// Where a Split Data check reads the card data otherwise than its layout's plain rules.
struct CheckReading {
    bool aboveFrameChecked = true;  // the 35-bit check never looks above its sentinel
};

CheckReading readingOf(SplitFormatId id) { return {id != SplitFormatId::F35}; }

struct Broken {
    std::uint64_t bits;
    std::string text;
};
using Outcome = std::optional<Broken>;

std::string number(int value) { return std::to_string(value); }

int highestBit(std::uint64_t bits) { return static_cast<int>(std::bit_width(bits)) - 1; }

// "bit 7", "bits 25..13", or the runs of an interleaved group: "bits 33..31, 29..28, ...".
std::string bitList(std::uint64_t bits) {
    std::string out = std::has_single_bit(bits) ? "bit " : "bits ";
    for (int high = highestBit(bits); high >= 0; --high) {
        if ((bits & bitAt(high)) == 0) continue;
        int low = high;
        while (low > 0 && (bits & bitAt(low - 1)) != 0) --low;
        if (!out.ends_with(' ')) out += ", ";
        out += number(high);
        if (low < high) out += ".." + number(low);
        high = low;
    }
    return out;
}

Outcome lengthRule(CardWord w) {
    if (w.length > 0) return std::nullopt;
    return Broken{0, "there is no card data"};
}

Outcome sentinelRule(const Layout& l, CardWord w) {
    if (l.sentinelBit < 0 || (w.bits & bitAt(l.sentinelBit)) != 0) return std::nullopt;
    return Broken{bitAt(l.sentinelBit), "sentinel bit " + number(l.sentinelBit) + " is 0"};
}

Outcome fixedOnesRule(const Layout& l, CardWord w) {
    const std::uint64_t missing = l.fixedOnes & ~w.bits;
    if (missing == 0) return std::nullopt;
    return Broken{missing, "fixed bit " + number(highestBit(missing)) + " must be 1"};
}

Outcome aboveFrameRule(const Layout& l, CardWord w) {
    const int top = frameTop(l);
    std::uint64_t set = w.bits & ~bitRange(top - 1, 0);
    if (l.sentinelBit >= 0) set &= ~bitAt(l.sentinelBit);
    if (set == 0) return std::nullopt;
    return Broken{set, "bit " + number(highestBit(set)) + " lies above the " + number(top) +
                           "-bit frame and is 1"};
}

Outcome fixedZerosRule(const Layout& l, CardWord w) {
    const std::uint64_t set = fieldZeroBits(l) & w.bits;
    if (set == 0) return std::nullopt;
    return Broken{set, "fixed bit " + number(highestBit(set)) + " must be 0"};
}

Outcome parityRule(const Layout& l, CardWord w) {
    for (const ParityRule& rule : l.parity) {
        const std::uint64_t group = rule.group | bitAt(rule.bit);
        const bool even = rule.kind == Parity::Even;
        if (hasOddOnes(w.bits & group) != even) continue;
        const bool value = (w.bits & bitAt(rule.bit)) != 0;
        return Broken{bitAt(rule.bit), "parity bit " + number(rule.bit) + " is " +
                                           (value ? "1" : "0") + " but must make " +
                                           bitList(group) + (even ? " even" : " odd")};
    }
    return std::nullopt;
}

// The rules in the order the checks apply them; the first broken one is the verdict.
Outcome firstBroken(const Layout& l, CardWord w, CheckReading reading) {
    Outcome broken = lengthRule(w);
    if (!broken) broken = sentinelRule(l, w);
    if (!broken) broken = fixedOnesRule(l, w);
    if (!broken && reading.aboveFrameChecked) broken = aboveFrameRule(l, w);
    if (!broken) broken = fixedZerosRule(l, w);
    if (!broken) broken = parityRule(l, w);
    return broken;
}

CardExplanation explain(const Layout& l, CardWord w, CheckReading reading) {
    CardExplanation e;
    e.roles = bitRoles(l, reading.aboveFrameChecked);
    e.length = std::clamp(w.length, 0, kProxWordBits);
    Outcome broken = firstBroken(l, w, reading);
    e.passes = !broken;
    if (broken) {
        e.failingBits = broken->bits;
        e.verdict = std::move(broken->text);
    }
    return e;
}

void appendValue(std::string& out, GridRow row, std::string_view value) {
    if (!out.empty()) out += ", ";
    out += gridRowLabel(row);
    if (!out.ends_with(':')) out += ':';
    out.append(" ").append(value);
}

}  // namespace

CardExplanation explainColumn(SplitFormatId id, CardWord w) {
    const SplitColumn& column = splitColumn(id);
    CardExplanation e = explain(layout(column.layout), w, readingOf(id));
    if (!e.passes) return e;
    ResultBoxes boxes;
    decodeColumn(id, w, boxes);
    for (const BoxSlice& s : column.slices) {
        appendValue(e.verdict, s.row, boxes[static_cast<std::size_t>(s.box)]);
    }
    return e;
}

CardExplanation explainLayout(const Layout& l, CardWord w) {
    CardExplanation e = explain(l, w, CheckReading{});
    if (!e.passes) return e;
    const std::pair<Field, GridRow> fields[] = {{l.hotstamp, GridRow::Hotstamp},
                                                {l.facility, GridRow::Facility},
                                                {l.version, GridRow::Version}};
    for (const auto& [field, row] : fields) {
        if (field.present()) {
            appendValue(e.verdict, row, std::to_string((w.bits & field.mask()) >> field.low));
        }
    }
    return e;
}

const Layout* builtLayout(std::string_view code, std::int32_t facilityCode) {
    const Layout* l = findLayout(code);
    if (l != nullptr && l->id == LayoutId::F37 && facilityCode == 0) {
        return &layout(LayoutId::F37NFC);
    }
    return l;
}

std::string roleLetters(const CardExplanation& e) {
    std::string letters;
    for (int p = e.length - 1; p >= 0; --p) {
        letters.push_back(roleLetter(e.roles[static_cast<std::size_t>(p)]));
    }
    return letters;
}

}  // namespace morvane
