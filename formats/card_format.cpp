#include "formats/card_format.h"

#include <array>

namespace morvane {

namespace {

// Bits p in [low, high] with p mod 3 != skip: the interleaved groups of the 35-bit format.
constexpr std::uint64_t everyThirdSkipped(int high, int low, int skip) {
    std::uint64_t m = 0;
    for (int p = low; p <= high; ++p) {
        if (p % 3 != skip) m |= bitAt(p);
    }
    return m;
}

constexpr std::array kParity26{
    ParityRule{25, Parity::Even, bitRange(24, 13)},
    ParityRule{0, Parity::Odd, bitRange(12, 1)},
};
constexpr std::array kParity34{
    ParityRule{33, Parity::Even, bitRange(32, 17)},
    ParityRule{0, Parity::Odd, bitRange(16, 1)},
};
// Bit 33 first, then bit 0 (its group holds bit 33), then bit 34 over everything else.
constexpr std::array kParity35{
    ParityRule{33, Parity::Even, everyThirdSkipped(32, 1, 0)},
    ParityRule{0, Parity::Odd, everyThirdSkipped(33, 2, 1)},
    ParityRule{34, Parity::Odd, bitRange(33, 0)},
};
constexpr std::array kParity35V{
    ParityRule{34, Parity::Even, bitRange(33, 17)},
    ParityRule{0, Parity::Odd, bitRange(17, 1)},
};
constexpr std::array kParity36V{
    ParityRule{35, Parity::Even, bitRange(34, 19)},
    ParityRule{0, Parity::Odd, bitRange(17, 1)},
};
constexpr std::array kParity37{
    ParityRule{36, Parity::Even, bitRange(35, 18)},
    ParityRule{0, Parity::Odd, bitRange(18, 1)},
};

constexpr Field none{};

// clang-format off
constexpr std::array kLayouts{
    Layout{
        .id = LayoutId::F26,
        .code = "26",
        .description = "26-bit, 8-bit facility code",
        .frameBits = 26,
        .hotstamp = {1, 16},
        .facility = {17, 8},
        .version = none,
        .fixedOnes = 0,
        .sentinelBit = 26,
        .parity = kParity26,
        .hotstampLimit = 65535,
        .facilityLimit = 255,
        .versionLimit = std::nullopt,
        .layoutMask = "PFFFFFFFFIIIIIIIIIIIIIIIIP",
        .fieldText = "P, facility 8, hotstamp 16, P",
        .readerPath = ReaderPath::Limited,
    },
    Layout{
        .id = LayoutId::F34,
        .code = "34",
        .description = "34-bit, 12-bit facility code",
        .frameBits = 34,
        .hotstamp = {1, 20},
        .facility = {21, 12},
        .version = none,
        .fixedOnes = 0,
        .sentinelBit = 34,
        .parity = kParity34,
        .hotstampLimit = 1048575,
        .facilityLimit = 4095,
        .versionLimit = std::nullopt,
        .layoutMask = "PFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIIP",
        .fieldText = "P, facility 12, hotstamp 20, P",
        .readerPath = ReaderPath::Limited,
    },
    Layout{
        .id = LayoutId::F35,
        .code = "35",
        .description = "35-bit, three parity bits, 12-bit facility code",
        .frameBits = 35,
        .hotstamp = {1, 20},
        .facility = {21, 12},
        .version = none,
        .fixedOnes = 0,
        .sentinelBit = 35,
        .parity = kParity35,
        .hotstampLimit = 1048575,
        .facilityLimit = 4095,
        .versionLimit = std::nullopt,
        .layoutMask = "",
        .fieldText = "P, P, facility 12, hotstamp 20, P",
    },
    Layout{
        .id = LayoutId::F35V,
        .code = "35V",
        .description = "35 Bit Vorta ID",
        .frameBits = 35,
        .hotstamp = {1, 20},
        .facility = {21, 12},
        .version = none,
        .fixedOnes = 0,  // bit 33, which no field covers, stays a fixed 0
        .sentinelBit = 35,
        .parity = kParity35V,
        .hotstampLimit = 1048575,
        .facilityLimit = 4095,
        .versionLimit = std::nullopt,
        .layoutMask = "P0FFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIIP",
        .fieldText = "P, fixed 0, facility 12, hotstamp 20, P",
        .readerPath = ReaderPath::Unlimited,
    },
    Layout{
        .id = LayoutId::F36V,
        .code = "36V",
        .description = "36 Bit Vorta ID",
        .frameBits = 36,
        .hotstamp = {2, 21},
        .facility = {23, 12},
        .version = none,
        .fixedOnes = bitAt(1),
        .sentinelBit = -1,
        .parity = kParity36V,
        .hotstampLimit = 2097151,
        .facilityLimit = 4095,
        .versionLimit = std::nullopt,
        .layoutMask = "PFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIII1P",
        .fieldText = "P, facility 12, hotstamp 21, fixed 1, P",
        .readerPath = ReaderPath::Unlimited,
        .readerFacilitySpill = 1,
    },
    Layout{
        .id = LayoutId::F37,
        .code = "37",
        .description = "37-bit, 16-bit facility code",
        .frameBits = 37,
        .hotstamp = {1, 19},
        .facility = {20, 16},
        .version = none,
        .fixedOnes = 0,
        .sentinelBit = -1,
        .parity = kParity37,
        .hotstampLimit = 524287,
        .facilityLimit = 65535,
        .versionLimit = std::nullopt,
        .layoutMask = "PFFFFFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIP",
        .fieldText = "P, facility 16, hotstamp 19, P",
        .readerPath = ReaderPath::Limited,
    },
    Layout{
        .id = LayoutId::F37NFC,
        .code = "37",
        .description = "37-bit without facility code (facility code 0)",
        .frameBits = 37,
        .hotstamp = {1, 35},
        .facility = none,
        .version = none,
        .fixedOnes = 0,
        .sentinelBit = -1,
        .parity = kParity37,
        .hotstampLimit = 34359738367,
        .facilityLimit = std::nullopt,
        .versionLimit = std::nullopt,
        .layoutMask = "",
        .fieldText = "P, hotstamp 35, P",
    },
    Layout{
        .id = LayoutId::F37V,
        .code = "37V",
        .description = "37 Bit Vorta ID",
        .frameBits = 37,
        .hotstamp = {1, 19},
        .facility = {20, 16},
        .version = none,
        .fixedOnes = 0,
        .sentinelBit = -1,
        .parity = kParity37,
        .hotstampLimit = 524287,
        .facilityLimit = 65535,
        .versionLimit = std::nullopt,
        .layoutMask = "",
        .fieldText = "P, facility 16, hotstamp 19, P",
    },
    Layout{
        .id = LayoutId::Proxif,
        .code = "Proxif",
        .description = "Proxif, octal fields, no parity",
        .frameBits = kProxWordBits,
        .hotstamp = {0, 21},
        .facility = {21, 15},
        .version = {36, 12},
        .fixedOnes = 0,
        .sentinelBit = -1,
        .parity = {},
        .hotstampLimit = 1048575,
        .facilityLimit = 32767,
        .versionLimit = 7,
        .layoutMask = "",
        .fieldText = "version 4 octal digits, facility 5, hotstamp 7",
        .valuesFromBoxes = true,
    },
    Layout{
        .id = LayoutId::Casi,
        .code = "Casi",
        .description = "Casi, octal fields, no parity",
        .frameBits = kProxWordBits,
        .hotstamp = {0, 36},
        .facility = {36, 12},
        .version = none,
        .fixedOnes = 0,
        .sentinelBit = -1,
        .parity = {},
        .hotstampLimit = 4294967295,
        .facilityLimit = 255,
        .versionLimit = std::nullopt,
        .layoutMask = "",
        .fieldText = "facility 4 octal digits, hotstamp 12",
        .valuesFromBoxes = true,
    },
};
// clang-format on

static_assert(kLayouts.size() == kLayoutCount);

// A reader's layout mask spells out the frame its layout describes: "P" parity, "F" facility,
// "I" hotstamp, "1" a fixed 1, "0" every other bit. Checked here, so the two cannot differ.
constexpr char maskLetter(const Layout& l, int p) {
    for (const ParityRule& rule : l.parity) {
        if (rule.bit == p) return 'P';
    }
    if ((l.facility.mask() & bitAt(p)) != 0) return 'F';
    if ((l.hotstamp.mask() & bitAt(p)) != 0) return 'I';
    return (l.fixedOnes & bitAt(p)) != 0 ? '1' : '0';
}

constexpr bool masksDescribeTheirLayouts() {
    for (const Layout& l : kLayouts) {
        if (l.layoutMask.empty()) continue;
        if (l.layoutMask.size() != static_cast<std::size_t>(l.frameBits)) return false;
        for (int p = 0; p < l.frameBits; ++p) {
            if (l.layoutMask[static_cast<std::size_t>(l.frameBits - 1 - p)] != maskLetter(l, p)) {
                return false;
            }
        }
    }
    return true;
}
static_assert(masksDescribeTheirLayouts());

}  // namespace

std::span<const Layout> layouts() { return kLayouts; }

const Layout& layout(LayoutId id) { return kLayouts[static_cast<std::size_t>(id)]; }

namespace {

// A code of up to seven characters with its length as one number: the lookup runs on every
// conversion, and comparing numbers spares a string comparison per layout.
constexpr std::uint64_t packedCode(std::string_view code) {
    std::uint64_t packed = code.size();
    for (char c : code) packed = packed << 8 | static_cast<unsigned char>(c);
    return packed;
}
constexpr std::size_t kLongestPackedCode = 7;

constexpr std::array<std::uint64_t, kLayouts.size()> kPackedCodes = [] {
    std::array<std::uint64_t, kLayouts.size()> codes{};
    for (std::size_t i = 0; i < kLayouts.size(); ++i) {
        // The layout without facility code is reached through "37", never by its own code.
        codes[i] = kLayouts[i].id == LayoutId::F37NFC ? 0 : packedCode(kLayouts[i].code);
    }
    return codes;
}();

}  // namespace

const Layout* findLayout(std::string_view code) {
    if (code.empty() || code.size() > kLongestPackedCode) return nullptr;
    const std::uint64_t packed = packedCode(code);
    for (std::size_t i = 0; i < kPackedCodes.size(); ++i) {
        if (kPackedCodes[i] == packed) return &kLayouts[i];
    }
    return nullptr;
}

const Layout* builtLayout(std::string_view code, std::int32_t facilityCode) {
    const Layout* l = findLayout(code);
    if (l != nullptr && l->id == LayoutId::F37 && facilityCode == 0) {
        return &layout(LayoutId::F37NFC);
    }
    return l;
}

}  // namespace morvane
