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

constexpr std::array kLayouts{
    Layout{LayoutId::F26,
           "26",
           "26-bit, 8-bit facility code",
           26,
           {1, 16},
           {17, 8},
           none,
           0,
           0,
           26,
           kParity26,
           65535,
           255,
           std::nullopt,
           "PFFFFFFFFIIIIIIIIIIIIIIIIP",
           "P, facility 8, hotstamp 16, P"},
    Layout{LayoutId::F34,
           "34",
           "34-bit, 12-bit facility code",
           34,
           {1, 20},
           {21, 12},
           none,
           0,
           0,
           34,
           kParity34,
           1048575,
           4095,
           std::nullopt,
           "PFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIIP",
           "P, facility 12, hotstamp 20, P"},
    Layout{LayoutId::F35,
           "35",
           "35-bit, three parity bits, 12-bit facility code",
           35,
           {1, 20},
           {21, 12},
           none,
           0,
           0,
           35,
           kParity35,
           1048575,
           4095,
           std::nullopt,
           "",
           "P, P, facility 12, hotstamp 20, P"},
    Layout{LayoutId::F35V,
           "35V",
           "35 Bit Vorta ID",
           35,
           {1, 20},
           {21, 12},
           none,
           0,
           bitAt(33),
           35,
           kParity35V,
           1048575,
           4095,
           std::nullopt,
           "P0FFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIIP",
           "P, fixed 0, facility 12, hotstamp 20, P"},
    Layout{LayoutId::F36V,
           "36V",
           "36 Bit Vorta ID",
           36,
           {2, 21},
           {23, 12},
           none,
           bitAt(1),
           0,
           -1,
           kParity36V,
           2097151,
           4095,
           std::nullopt,
           "PFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIII1P",
           "P, facility 12, hotstamp 21, fixed 1, P"},
    Layout{LayoutId::F37,
           "37",
           "37-bit, 16-bit facility code",
           37,
           {1, 19},
           {20, 16},
           none,
           0,
           0,
           -1,
           kParity37,
           524287,
           65535,
           std::nullopt,
           "PFFFFFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIP",
           "P, facility 16, hotstamp 19, P"},
    Layout{LayoutId::F37NFC,
           "37",
           "37-bit without facility code (facility code 0)",
           37,
           {1, 35},
           none,
           none,
           0,
           0,
           -1,
           kParity37,
           34359738367,
           std::nullopt,
           std::nullopt,
           "",
           "P, hotstamp 35, P"},
    Layout{LayoutId::F37V,
           "37V",
           "37 Bit Vorta ID",
           37,
           {1, 19},
           {20, 16},
           none,
           0,
           0,
           -1,
           kParity37,
           524287,
           65535,
           std::nullopt,
           "",
           "P, facility 16, hotstamp 19, P"},
    Layout{LayoutId::Proxif,
           "Proxif",
           "Proxif, octal fields, no parity",
           kProxWordBits,
           {0, 21},
           {21, 15},
           {36, 12},
           0,
           0,
           -1,
           {},
           1048575,
           32767,
           7,
           "",
           "version 4 octal digits, facility 5, hotstamp 7"},
    Layout{LayoutId::Casi,
           "Casi",
           "Casi, octal fields, no parity",
           kProxWordBits,
           {0, 36},
           {36, 12},
           none,
           0,
           0,
           -1,
           {},
           4294967295,
           255,
           std::nullopt,
           "",
           "facility 4 octal digits, hotstamp 12"},
};

}  // namespace

std::span<const Layout> layouts() { return kLayouts; }

const Layout& layout(LayoutId id) { return kLayouts[static_cast<std::size_t>(id)]; }

const Layout* findLayout(std::string_view code) {
    for (const Layout& l : kLayouts) {
        if (l.id != LayoutId::F37NFC && l.code == code) return &l;
    }
    return nullptr;
}

}  // namespace morvane
