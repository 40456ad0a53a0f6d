#pragma once

#include <algorithm>
#include <bit>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

// The card format catalogue: every format's code, frame layout, parity groups, limits and
// layout mask. Everything else (encoders, Split Data, the readers, the command line) reads its
// rules from here.
namespace morvane {

// Bit p of a frame or of the 48-bit prox data word weighs 2^p.
constexpr std::uint64_t bitRange(int high, int low) {
    return ((high >= 63 ? ~std::uint64_t{0} : (std::uint64_t{1} << (high + 1)) - 1)) &
           ~((std::uint64_t{1} << low) - 1);
}
constexpr std::uint64_t bitAt(int p) { return std::uint64_t{1} << p; }

enum class Parity { Even, Odd };

// A parity bit makes the count of 1 bits over itself and its group even or odd.
struct ParityRule {
    int bit;
    Parity kind;
    std::uint64_t group;  // the other bits of the group
};

// A value's place in the word: `width` bits starting at bit `low`; width 0 when absent.
struct Field {
    int low = 0;
    int width = 0;
    constexpr bool present() const { return width > 0; }
    constexpr std::uint64_t mask() const { return bitRange(low + width - 1, low) * present(); }
    constexpr std::uint64_t read(std::uint64_t word) const { return (word & mask()) >> low; }
};

// The part of a field its largest value reaches: an octal field is wider than its limit needs.
constexpr Field reachedBy(Field field, std::optional<std::uint64_t> limit) {
    if (!field.present() || !limit) return field;
    return {field.low, std::min(field.width, static_cast<int>(std::bit_width(*limit)))};
}

enum class LayoutId { F26, F34, F35, F35V, F36V, F37, F37NFC, F37V, Proxif, Casi };
inline constexpr std::size_t kLayoutCount = 10;

// Whether the reader path (a card read from a USB reader) converts a layout, and how.
enum class ReaderPath : std::uint8_t {
    None,       // no reader twin: the reader path gives the no-result value
    Limited,    // the reader twin checks the window's limits
    Unlimited,  // the reader twin checks no upper limit (the Vorta twins)
};

struct Layout {
    LayoutId id;
    std::string_view code;         // card format code that selects it
    std::string_view description;  // for people: "26-bit, 8-bit facility code"
    int frameBits;                 // N; Proxif and Casi fill the whole 48-bit word
    Field hotstamp;
    Field facility;
    Field version;
    std::uint64_t fixedOnes;             // frame bits fixed at 1; bits no field covers are 0
    int sentinelBit;                     // word bit just above the frame, or -1
    std::span<const ParityRule> parity;  // in the order they are computed
    std::uint64_t hotstampLimit;
    std::optional<std::uint64_t> facilityLimit;
    std::optional<std::uint64_t> versionLimit;
    std::string_view layoutMask;   // as a USB reader describes the frame; empty when none
    std::string_view fieldText;    // "P, facility 8, hotstamp 16, P"
    bool valuesFromBoxes = false;  // facility code and version read from the Data Input boxes
    ReaderPath readerPath = ReaderPath::None;
    // Bits of the facility code the reader twin writes above its field, onto the leading parity
    // place, where they are counted with its group and then overwritten.
    int readerFacilitySpill = 0;

    constexpr Field reachedHotstamp() const { return reachedBy(hotstamp, hotstampLimit); }
    constexpr Field reachedFacility() const { return reachedBy(facility, facilityLimit); }
    constexpr Field reachedVersion() const { return reachedBy(version, versionLimit); }
};

inline constexpr int kProxDataDigits = 16;
inline constexpr int kProxWordBits = 48;
inline constexpr std::string_view kNoResult = "????????????????";

// Every layout, the 37-bit one without facility code included.
std::span<const Layout> layouts();
const Layout& layout(LayoutId id);

// The layout a card format code selects in the Convert direction (exact, case-sensitive);
// for "37" that is the layout with facility code. Null for an unknown code.
const Layout* findLayout(std::string_view code);

// The layout the conversion builds for a card format code: "37" with facility code 0 is the
// layout without facility code. Null for an unknown code.
const Layout* builtLayout(std::string_view code, std::int32_t facilityCode);

// The layout mask of the 42-bit frame a USB reader sees on a Casi card.
inline constexpr std::string_view kCasiReaderMask = "PFFFFFFFFIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIP";

// The card format a USB reader's bit count stands for: the format whose layout mask has that
// many bits ("35V" for every 35-bit card, "37" for every 37-bit one), "Casi" for the 42-bit
// frame, or the empty text for any other count.
std::string_view readerFormatCode(int bitCount);

}  // namespace morvane
