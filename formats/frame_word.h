#pragma once

#include <bit>
#include <cstdint>

#include "formats/card_format.h"

// A credential's prox data word built from its layout in the catalogue: fields, fixed bits,
// parity bits in their order, sentinel. Inline because a batch builds millions of them.
namespace morvane {

// The value cut to its field and moved to its place.
constexpr std::uint64_t placed(Field field, std::uint64_t value) {
    return field.present() ? (value << field.low) & field.mask() : 0;
}

constexpr bool hasOddOnes(std::uint64_t bits) { return (std::popcount(bits) & 1) != 0; }

// Each parity bit is counted over its group and its own place as the word stands at its step,
// so a later rule sees the earlier parity bits (the 35-bit format relies on that).
constexpr std::uint64_t withParity(const Layout& l, std::uint64_t word) {
    for (const ParityRule& rule : l.parity) {
        const bool set = hasOddOnes(word & (rule.group | bitAt(rule.bit))) ==
                         (rule.kind == Parity::Even);
        word = (word & ~bitAt(rule.bit)) | (set ? bitAt(rule.bit) : 0);
    }
    return word;
}

// The word with its fields in place completed by its parity bits and sentinel.
constexpr std::uint64_t sealedWord(const Layout& l, std::uint64_t fields) {
    const std::uint64_t word = withParity(l, fields);
    return l.sentinelBit >= 0 ? word | bitAt(l.sentinelBit) : word;
}

// `preset` holds bits written before the parity is counted (the reader path's 36-bit Vorta
// facility spills one bit onto its leading parity place).
constexpr std::uint64_t frameWord(const Layout& l, std::uint64_t hotstamp, std::uint64_t facility,
                                  std::uint64_t version, std::uint64_t preset = 0) {
    return sealedWord(l, placed(l.hotstamp, hotstamp) | placed(l.facility, facility) |
                             placed(l.version, version) | l.fixedOnes | preset);
}

// Does every parity bit of the word complete its group as its rule says?
constexpr bool parityHolds(const Layout& l, std::uint64_t word) {
    for (const ParityRule& rule : l.parity) {
        if (hasOddOnes(word & (rule.group | bitAt(rule.bit))) != (rule.kind == Parity::Odd)) {
            return false;
        }
    }
    return true;
}

}  // namespace morvane
