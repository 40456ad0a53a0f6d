#pragma once

#include <cstdint>
#include <string>
#include <string_view>

// The invocation string a calling program leaves on the clipboard before it starts Morvane
// ("FC=123;CF=26;QRVF=F"), and the result strings Morvane hands back. Pure functions: no window.
namespace morvane {

// Facility code after "FC=" (any case) as a 16-bit whole number, halves to even; 0 when the key
// is missing, nothing follows it, the rest is no number or lies outside -32768..32767.
std::int16_t ParseForFacilityCode(std::string_view s);

// Card format code after "CF=" (any case), exactly as it stands; "26" otherwise.
std::string ParseForCardFormat(std::string_view s);

// True only for a 6-character field starting "QRVF" (any case) whose 6th character is "T".
bool ParseForQRVFormatFlag(std::string_view s);

struct Invocation {
    bool present = false;       // "QRVF=" somewhere: a calling program started us
    bool proxDataOnly = false;  // "FC=" not at the very start: hand back the bare prox data
    bool usable = false;        // cut into exactly three fields
    std::string facilityField;
    std::string cardFormatField;
    std::string flagField;
};

// Reads a clipboard text as an invocation string; `present` is false for any other text, and for
// a result string of ours that opens with "OK;".
Invocation readInvocation(std::string_view text);

// What the window holds when "&OK" is pressed.
struct ResultFields {
    std::string proxData;  // text of the prox data box
    std::int32_t facilityCode = 0;
    std::string cardFormat;
    bool qrvFormat = false;
    bool proxDataOnly = false;
};

// "OK;<prox data>;FC=<facility>;CF=<code>;QRVF=<T|F>", or the bare prox data when only that
// was asked for; an empty prox data box is reported as "Invalid".
std::string okResultString(const ResultFields& fields);

inline constexpr std::string_view kCancelResult = "Cancel";
inline constexpr std::string_view kInvalidProxData = "Invalid";

}  // namespace morvane
