#include "formats/split_checks.h"

#include <algorithm>
#include <cstddef>

#include "formats/bits.h"
#include "formats/card_format.h"

namespace morvane {

namespace {

// The formats with one even and one odd group: a length floor, a marker bit that must be 1
// (the sentinel, or the fixed 1 of the 36-bit Vorta ID), no 1 above the frame, then the even
// group at the front of the frame and the odd group at its back.
struct SplitHalfCheck {
    std::size_t minLength;
    int markerBit;  // -1: none
    int headFrom;   // bits L-1 down to this one hold no 1
    std::size_t frameLength;
    std::size_t evenLength;
    std::size_t oddLength;
};

// The 36-bit Vorta frame is taken one character wider than the format: bit 36 then leads the
// even group, but it lies in the zero head, so only bits 35..19 count. When the bit data is
// exactly 36 characters the frame is all of it and the even group moves down to bits 35..18.
// The 35-bit Vorta and the 37-bit groups overlap by one bit (bit 17, bit 18).
constexpr SplitHalfCheck k26{27, 26, 27, 26, 13, 13};
constexpr SplitHalfCheck k34{35, 34, 35, 34, 17, 17};
constexpr SplitHalfCheck k35V{36, 35, 36, 35, 18, 18};
constexpr SplitHalfCheck k36V{36, 1, 36, 37, 18, 18};
constexpr SplitHalfCheck k37{37, -1, 37, 37, 19, 19};

// Proxif and Casi carry no parity: only bits that must be 0.
struct FieldCheck {
    std::size_t minLength;
    int zeroHigh;  // bits zeroHigh..zeroLow are 0
    int zeroLow;
    int headFrom;
};

constexpr FieldCheck kProxif{48, 20, 20, 39};
constexpr FieldCheck kCasi{48, 35, 32, 44};

bool isOne(std::string_view bitData, int bit) {
    return bitData[bitData.size() - 1 - static_cast<std::size_t>(bit)] == '1';
}

std::size_t ones(std::string_view text) {
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '1'));
}

// Bits L-1 down to `from`: the characters in front of bit `from`.
std::string_view head(std::string_view bitData, int from) {
    const auto bits = static_cast<std::size_t>(from);
    return bitData.substr(0, bitData.size() > bits ? bitData.size() - bits : 0);
}

bool passes(const SplitHalfCheck& c, std::string_view bitData) {
    if (bitData.size() < c.minLength) return false;
    if (c.markerBit >= 0 && !isOne(bitData, c.markerBit)) return false;
    if (ones(head(bitData, c.headFrom)) != 0) return false;
    const std::string_view frame =
        bitData.substr(bitData.size() - std::min(c.frameLength, bitData.size()));
    if (ones(frame.substr(0, c.evenLength)) % 2 != 0) return false;
    return ones(frame.substr(frame.size() - c.oddLength)) % 2 == 1;
}

bool passes(const FieldCheck& c, std::string_view bitData) {
    if (bitData.size() < c.minLength) return false;
    for (int bit = c.zeroLow; bit <= c.zeroHigh; ++bit) {
        if (isOne(bitData, bit)) return false;
    }
    return ones(head(bitData, c.headFrom)) == 0;
}

}  // namespace

bool IsFormat26(std::string_view bitData) { return passes(k26, bitData); }
bool IsFormat34(std::string_view bitData) { return passes(k34, bitData); }
bool IsFormat35V(std::string_view bitData) { return passes(k35V, bitData); }
bool IsFormat36V(std::string_view bitData) { return passes(k36V, bitData); }
bool IsFormat37V(std::string_view bitData) { return passes(k37, bitData); }
bool IsFormat37(std::string_view bitData) { return passes(k37, bitData); }
bool IsFormatProxif(std::string_view bitData) { return passes(kProxif, bitData); }
bool IsFormatCasi(std::string_view bitData) { return passes(kCasi, bitData); }

// The 35-bit parity rules read backwards over the last 35 characters, behind the sentinel at
// bit 35. Nothing above the sentinel is looked at.
bool IsFormat35(std::string_view bitData) {
    const Layout& f35 = layout(LayoutId::F35);
    const auto frameBits = static_cast<std::size_t>(f35.frameBits);
    if (bitData.size() < frameBits + 1 || !isOne(bitData, f35.sentinelBit)) return false;
    const std::uint64_t frame = bitStringValue(bitData.substr(bitData.size() - frameBits));
    return std::all_of(f35.parity.begin(), f35.parity.end(), [&](const ParityRule& rule) {
        const int count = countOnes(frame, rule.group) + countOnes(frame, bitAt(rule.bit));
        return count % 2 == (rule.kind == Parity::Even ? 0 : 1);
    });
}

}  // namespace morvane
