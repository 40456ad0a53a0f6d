#pragma once

#include <array>
#include <cstdint>

#include "formats/card_format.h"

// What each bit of the 48-bit prox data word is under one layout of the catalogue: the part
// of the credential it carries, or why it must hold what it holds.
namespace morvane {

enum class BitRole : std::uint8_t {
    Unused,      // not looked at
    AboveFrame,  // above the frame and its sentinel: must be 0
    Sentinel,
    LeadingParity,
    OtherParity,
    TrailingParity,
    Facility,
    Hotstamp,
    Version,
    FixedZero,
    FixedOne,
};

using BitRoles = std::array<BitRole, kProxWordBits>;  // indexed by word bit

// One letter per role, so that a map reads without its colours: "-xSPPPFIV01".
char roleLetter(BitRole role);

// The bits below this one form the frame. A layout that fills the whole word (Proxif, Casi)
// ends where its fields' limits end: everything above is 0 on every credential.
int frameTop(const Layout& l);

// The bits a field's limit keeps at 0 inside the frame (Proxif bit 20, Casi bits 35..32).
std::uint64_t fieldZeroBits(const Layout& l);

// Every word bit's role; with `aboveFrameChecked` false the bits above the frame and its
// sentinel are Unused rather than AboveFrame.
BitRoles bitRoles(const Layout& l, bool aboveFrameChecked = true);

}  // namespace morvane
