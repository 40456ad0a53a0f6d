#include "formats/bit_roles.h"

#include <algorithm>
#include <bit>
#include <optional>

namespace morvane {

namespace {

constexpr std::array<char, 11> kLetters{'-', 'x', 'S', 'P', 'P', 'P', 'F', 'I', 'V', '0', '1'};

struct LimitedField {
    Field field;
    std::optional<std::uint64_t> limit;
    BitRole role;
};

std::array<LimitedField, 3> limitedFields(const Layout& l) {
    return {LimitedField{l.hotstamp, l.hotstampLimit, BitRole::Hotstamp},
            LimitedField{l.facility, l.facilityLimit, BitRole::Facility},
            LimitedField{l.version, l.versionLimit, BitRole::Version}};
}

// The bits of a field that its largest value can reach.
std::uint64_t reachableBits(const LimitedField& f) {
    if (!f.field.present()) return 0;
    const int width = f.limit ? std::min(f.field.width, static_cast<int>(std::bit_width(*f.limit)))
                              : f.field.width;
    return bitRange(f.field.low + width - 1, f.field.low);
}

void setRole(BitRoles& roles, std::uint64_t bits, BitRole role) {
    for (int p = 0; p < kProxWordBits; ++p) {
        if ((bits & bitAt(p)) != 0) roles[static_cast<std::size_t>(p)] = role;
    }
}

BitRole parityRole(const Layout& l, int bit) {
    if (bit == 0) return BitRole::TrailingParity;
    return bit == l.frameBits - 1 ? BitRole::LeadingParity : BitRole::OtherParity;
}

}  // namespace

char roleLetter(BitRole role) { return kLetters[static_cast<std::size_t>(role)]; }

int frameTop(const Layout& l) {
    if (l.frameBits < kProxWordBits) return l.frameBits;
    std::uint64_t reached = 0;
    for (const LimitedField& f : limitedFields(l)) reached |= reachableBits(f);
    return static_cast<int>(std::bit_width(reached));
}

std::uint64_t fieldZeroBits(const Layout& l) {
    std::uint64_t zeros = 0;
    for (const LimitedField& f : limitedFields(l)) zeros |= f.field.mask() & ~reachableBits(f);
    return zeros & bitRange(frameTop(l) - 1, 0);
}

namespace {

// Frame bits that no field, parity bit or fixed 1 covers: the catalogue holds them at 0.
std::uint64_t uncoveredBits(const Layout& l, int top) {
    std::uint64_t covered = l.hotstamp.mask() | l.facility.mask() | l.version.mask() | l.fixedOnes;
    for (const ParityRule& rule : l.parity) covered |= bitAt(rule.bit);
    return bitRange(top - 1, 0) & ~covered;
}

}  // namespace

BitRoles bitRoles(const Layout& l, bool aboveFrameChecked) {
    BitRoles roles{};
    const int top = frameTop(l);
    setRole(roles, bitRange(kProxWordBits - 1, top),
            aboveFrameChecked ? BitRole::AboveFrame : BitRole::Unused);
    if (l.sentinelBit >= 0) setRole(roles, bitAt(l.sentinelBit), BitRole::Sentinel);
    for (const LimitedField& f : limitedFields(l)) {
        setRole(roles, reachableBits(f) & bitRange(top - 1, 0), f.role);
    }
    setRole(roles, fieldZeroBits(l) | uncoveredBits(l, top), BitRole::FixedZero);
    setRole(roles, l.fixedOnes, BitRole::FixedOne);
    for (const ParityRule& rule : l.parity) setRole(roles, bitAt(rule.bit), parityRole(l, rule.bit));
    return roles;
}

}  // namespace morvane
