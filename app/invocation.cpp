#include "app/invocation.h"

#include "formats/numeric_error.h"
#include "formats/numeric_text.h"

namespace morvane {

namespace {

char asciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

// Keys are compared without regard to case, and only ASCII letters have a case here.
bool startsWithKey(std::string_view s, std::string_view key) {
    if (s.size() < key.size()) return false;
    for (std::size_t i = 0; i < key.size(); ++i) {
        if (asciiUpper(s[i]) != key[i]) return false;
    }
    return true;
}

std::size_t findKey(std::string_view s, std::string_view key) {
    for (std::size_t i = 0; i + key.size() <= s.size(); ++i) {
        if (startsWithKey(s.substr(i), key)) return i;
    }
    return std::string_view::npos;
}

}  // namespace

std::int16_t ParseForFacilityCode(std::string_view s) {
    if (!startsWithKey(s, "FC=") || s.size() < 4) return 0;
    const auto value = parseNumber(s.substr(3));
    if (!value) return 0;
    // A facility code no 16-bit field can hold counts as no facility code.
    return fitInt16(*value).value_or(0);
}

std::string ParseForCardFormat(std::string_view s) {
    if (startsWithKey(s, "CF=") && s.size() >= 4) return std::string(s.substr(3));
    return "26";
}

bool ParseForQRVFormatFlag(std::string_view s) {
    return s.size() == 6 && startsWithKey(s, "QRVF") && s[5] == 'T';
}

Invocation readInvocation(std::string_view text) {
    Invocation inv;
    // Our own result string from an earlier run ("OK;...;QRVF=T") is no calling program's word;
    // a calling program writes its invocation string before it starts us.
    if (text.starts_with("OK;")) return inv;
    inv.present = findKey(text, "QRVF=") != std::string_view::npos;
    if (!inv.present) return inv;
    inv.proxDataOnly = findKey(text, "FC=") != 0;
    const auto first = text.find(';');
    if (first == std::string_view::npos) return inv;
    const auto second = text.find(';', first + 1);
    if (second == std::string_view::npos) return inv;
    inv.usable = true;
    inv.facilityField = text.substr(0, first);
    inv.cardFormatField = text.substr(first + 1, second - first - 1);
    inv.flagField = text.substr(second + 1);
    return inv;
}

std::string okResultString(const ResultFields& fields) {
    const std::string proxData =
        fields.proxData.empty() ? std::string(kInvalidProxData) : fields.proxData;
    if (fields.proxDataOnly) return proxData;
    return "OK;" + proxData + ";FC=" + std::to_string(fields.facilityCode) +
           ";CF=" + fields.cardFormat + ";QRVF=" + (fields.qrvFormat ? "T" : "F");
}

}  // namespace morvane
