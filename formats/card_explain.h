#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "formats/bit_roles.h"
#include "formats/card_format.h"
#include "formats/card_word.h"
#include "formats/split_catalogue.h"

// Whether card data is a credential of a format, and if not, the first rule it breaks. One
// evaluation, read from the catalogue, decides the Split Data check and gives the explanation
// its verdict, so the two cannot disagree.
namespace morvane {

enum class Rule : std::uint8_t {
    None,        // a credential of the format
    NoCardData,  // empty card data is no credential of any format
    Sentinel,    // the sentinel bit is 0
    FixedOne,    // a fixed 1 is 0
    AboveFrame,  // a bit above the frame (and its sentinel) is 1
    FixedZero,   // a bit a field's limit keeps at 0 is 1
    Parity,      // a parity bit does not complete its group
};

struct Finding {
    Rule rule = Rule::None;
    std::uint64_t bits = 0;              // the bits the broken rule names
    const ParityRule* parity = nullptr;  // the broken parity rule

    bool passes() const { return rule == Rule::None; }
};

// The rules in the order the checks apply them; the first broken one is the finding. With
// `aboveFrameRead` false nothing above the frame and its sentinel is looked at.
Finding evaluate(const Layout& l, CardWord w, bool aboveFrameRead = true);

// The finding in the words an operator uses: "sentinel bit 34 is 0", "parity bit 0 is 1 but
// must make bits 12..0 odd"; empty when the card data passes.
void appendFindingText(std::string& out, const Layout& l, const Finding& f, CardWord w);
// The same written at `at`, which has room for kMaxFindingText characters; returns its end.
char* writeFindingText(char* at, const Layout& l, const Finding& f, CardWord w);
std::string findingText(const Layout& l, const Finding& f, CardWord w);

struct CardExplanation {
    BitRoles roles{};
    int length = 0;  // bits of card data: the explanation covers bits length-1..0
    bool passes = false;
    std::uint64_t failingBits = 0;  // the bits the broken rule names
    std::string verdict;            // the decoded values, or the broken rule
};

// Under a column of the Split Data page; a passing verdict lists the values the column shows.
CardExplanation explainColumn(SplitFormatId id, CardWord w);

// "bit 7", "bits 25..13", or the runs of bits apart: "bits 33..31, 29..28".
void appendBitList(std::string& out, std::uint64_t bits);
// The same written at `at`, which has room for kMaxBitList characters; returns its end.
char* writeBitList(char* at, std::uint64_t bits);

// 64 bits hold at most 32 runs, as each but the last needs a 0 after it: "bits " and "63..62, ".
inline constexpr std::size_t kMaxBitList = 5 + 32 * 8;
// A bit list and the words of its rule around it: "parity bit 36 is 1 but must make ... even".
inline constexpr std::size_t kMaxFindingText = kMaxBitList + 64;

// Under a layout as the conversion builds it; a passing verdict lists the layout's fields.
CardExplanation explainLayout(const Layout& l, CardWord w);

// The role letters of the explained bits, leading bit first.
std::string roleLetters(const CardExplanation& e);

}  // namespace morvane
