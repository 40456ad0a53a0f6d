#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

// Split Data: card data (octal digits) back to hotstamp, facility code and version under every
// known card format at once.
namespace morvane {

// The Split Data page's result boxes: every box a change of the card data empties, in that
// order, except the bit data box txtBits (held apart as SplitResult::bitData).
enum class ResultBox : std::uint8_t {
    Num26, Num35V, Fac35V, Num36V, Fac36V, Num37V, Fac37V, Num35, Fac35, Num34, Fac34, Fac26,
    Num37, Fac37, Number37, ProxifNum, ProxifFac, ProxifVer, CasiNum, CasiFac,
};
inline constexpr std::size_t kResultBoxCount = 20;

// The control name of a result box ("txt26Num", ..., "txtCasiFac").
std::string_view boxName(ResultBox box);

// The 21 control names a change of the card data empties, in the order it empties them
// ("txt26Num", "txtBits", "txt35VNum", ...).
std::span<const std::string_view> clearedBoxNames();

enum class SplitState {
    Empty,     // no card data split since its last change: bit data and results empty
    Split,     // bit data shown, every format holding its values or its refusal text
    Rejected,  // an invalid character: bit data and results empty, card data unchanged
};

struct SplitResult {
    SplitState state = SplitState::Empty;
    std::string bitData;                              // txtBits
    std::array<std::string, kResultBoxCount> boxes;   // indexed by ResultBox
    std::array<bool, 9> matches{};  // IsFormat26, 34, 35, 35V, 36V, 37V, 37, Proxif, Casi

    const std::string& box(ResultBox b) const { return boxes[static_cast<std::size_t>(b)]; }
    bool anyMatch() const;
};

// The "Split Data" button's run over the card data text: bit data, nine checks, and every
// format's values or refusal text. Card data longer than the card data box holds is refused.
SplitResult SplitData(std::string_view cardData);

// The same run into a result used before, whose texts keep their room: for batches.
void SplitData(std::string_view cardData, SplitResult& result);

}  // namespace morvane
