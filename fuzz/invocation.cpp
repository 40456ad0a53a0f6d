// The invocation string: whatever text is on the clipboard when Morvane starts, put there by a
// calling program or by anything else. The cut into fields, the three field parsers and the
// result string built from what they give. Input: the clipboard text.
//
// Beyond "no crash": the text is recognised exactly when it holds "QRVF=" in any case, the three
// fields put back together give the text again, each parser gives its value or its default and
// nothing else, and the "&OK" result string's own fields read back to the values it was built
// from.
#include "app/invocation.h"

#include <algorithm>
#include <cctype>

#include "formats/numeric_error.h"
#include "formats/numeric_text.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace morvane;

std::string upper(std::string_view text) {
    std::string out(text);
    for (char& c : out) {
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    }
    return out;
}

bool startsWithKey(std::string_view field, std::string_view key) {
    return upper(field.substr(0, key.size())) == key;
}

std::int16_t expectedFacilityCode(std::string_view field) {
    if (!startsWithKey(field, "FC=")) return 0;
    try {
        return textToInt16(field.substr(3));
    } catch (const NumericError&) {
        return 0;
    }
}

void checkFields(std::string_view text, const Invocation& inv) {
    // Our own result string ("OK;...") is never one, whatever it holds.
    FUZZ_CHECK(inv.present ==
               (!text.starts_with("OK;") && upper(text).find("QRVF=") != std::string::npos));
    if (!inv.present) {
        FUZZ_CHECK(!inv.usable && !inv.proxDataOnly);
        return;
    }
    FUZZ_CHECK(inv.proxDataOnly == !startsWithKey(text, "FC="));
    FUZZ_CHECK(inv.usable == (std::count(text.begin(), text.end(), ';') >= 2));
    if (!inv.usable) {
        FUZZ_CHECK(inv.facilityField.empty() && inv.cardFormatField.empty() &&
                   inv.flagField.empty());
        return;
    }
    FUZZ_CHECK(inv.facilityField.find(';') == std::string::npos);
    FUZZ_CHECK(inv.cardFormatField.find(';') == std::string::npos);
    FUZZ_CHECK(inv.facilityField + ";" + inv.cardFormatField + ";" + inv.flagField == text);
}

void checkParsers(std::string_view field) {
    FUZZ_CHECK(ParseForFacilityCode(field) == expectedFacilityCode(field));

    const std::string code = ParseForCardFormat(field);
    if (startsWithKey(field, "CF=") && field.size() > 3) {
        FUZZ_CHECK(code == field.substr(3));
    } else {
        FUZZ_CHECK(code == "26");
    }

    const bool flag = ParseForQRVFormatFlag(field);
    FUZZ_CHECK(flag == (field.size() == 6 && startsWithKey(field, "QRVF") && field[5] == 'T'));
}

// "OK;P;FC=n;CF=code;QRVF=X": the fields after "OK" and the prox data are the invocation's own
// keys, and the parsers read them back to what went in.
void checkResultString(const ResultFields& fields) {
    const std::string result = okResultString(fields);
    const std::string proxData = fields.proxData.empty() ? "Invalid" : fields.proxData;
    if (fields.proxDataOnly) {
        FUZZ_CHECK(result == proxData);
        return;
    }
    const std::string head = "OK;" + proxData + ";";
    FUZZ_CHECK(result.starts_with(head));
    if (fields.cardFormat.find(';') != std::string::npos) return;
    std::string_view rest(result);
    rest.remove_prefix(head.size());
    const auto first = rest.find(';');
    const auto second = rest.find(';', first + 1);
    FUZZ_CHECK(first != std::string_view::npos && second != std::string_view::npos);
    FUZZ_CHECK(ParseForFacilityCode(rest.substr(0, first)) == fields.facilityCode);
    if (!fields.cardFormat.empty()) {
        FUZZ_CHECK(ParseForCardFormat(rest.substr(first + 1, second - first - 1)) ==
                   fields.cardFormat);
    }
    FUZZ_CHECK(ParseForQRVFormatFlag(rest.substr(second + 1)) == fields.qrvFormat);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text = fuzz::asText(data, size);
    const Invocation inv = readInvocation(text);
    checkFields(text, inv);

    // Every field is read by every parser: a key in the wrong field must still be harmless.
    for (const std::string* field : {&inv.facilityField, &inv.cardFormatField, &inv.flagField}) {
        checkParsers(*field);
    }
    checkParsers(text);

    for (const char* proxData : {"", "0000000475400002"}) {
        checkResultString({proxData, ParseForFacilityCode(inv.facilityField),
                           ParseForCardFormat(inv.cardFormatField),
                           ParseForQRVFormatFlag(inv.flagField), inv.proxDataOnly});
    }
    return 0;
}
