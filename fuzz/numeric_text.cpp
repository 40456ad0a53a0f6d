// Numeric text as it reaches the program from every box, option and file line: the grammar, the
// rounding and the range-checked conversions. The input is the text; its first eight bytes are
// also read as a double, so NaN, infinities and the far ends of the range reach the conversions.
#include "formats/numeric_text.h"

#include <cmath>
#include <cstring>
#include <limits>
#include <optional>

#include "formats/numeric_error.h"
#include "fuzz/fuzz_support.h"

namespace {

using namespace morvane;

// What a conversion gives: the integer, or the number of the error it raised.
struct Outcome {
    std::optional<std::int64_t> value;
    int error = 0;
    bool operator==(const Outcome&) const = default;
};

template <typename Convert>
Outcome outcomeOf(Convert convert) {
    try {
        return {static_cast<std::int64_t>(convert()), 0};
    } catch (const NumericError& e) {
        return {std::nullopt, e.number()};
    }
}

template <typename Int>
Outcome expectedConversion(double value) {
    const double r = roundHalfEven(value);
    if (std::isfinite(r) && r >= static_cast<double>(std::numeric_limits<Int>::min()) &&
        r <= static_cast<double>(std::numeric_limits<Int>::max())) {
        return {static_cast<std::int64_t>(r), 0};
    }
    return {std::nullopt, kErrorOverflow};
}

template <typename Int>
Outcome expectedFromText(std::optional<double> value) {
    return value ? expectedConversion<Int>(*value) : Outcome{std::nullopt, kErrorTypeMismatch};
}

void checkValue(double value) {
    const double r = roundHalfEven(value);
    if (std::isnan(value)) {
        FUZZ_CHECK(std::isnan(r));
    } else if (std::isinf(value)) {
        FUZZ_CHECK(r == value);
    } else {
        FUZZ_CHECK(r == std::floor(r));
        const double distance = std::fabs(r - value);
        FUZZ_CHECK(distance <= 0.5);
        // A half goes to the even neighbour.
        if (distance == 0.5) FUZZ_CHECK(std::fmod(r, 2.0) == 0.0);
    }
    FUZZ_CHECK(outcomeOf([&] { return toInt16(value); }) ==
               expectedConversion<std::int16_t>(value));
    FUZZ_CHECK(outcomeOf([&] { return toInt32(value); }) ==
               expectedConversion<std::int32_t>(value));

    const std::string shown = formatNumber(value);
    FUZZ_CHECK(!shown.empty());
    if (!std::isfinite(value)) return;
    FUZZ_CHECK(shown.find_first_not_of("0123456789-.E+") == std::string::npos);
    FUZZ_CHECK(shown != "-0");
    // Messages show the number; read back it is the same number, or within its 15 digits.
    const auto reread = parseNumber(shown);
    if (value == std::floor(value) && std::fabs(value) < 1e15) {
        FUZZ_CHECK(reread && *reread == value);
    } else if (reread) {
        FUZZ_CHECK(std::fabs(*reread - value) <= 1e-14 * std::fabs(value));
    }
}

void checkText(std::string_view text) {
    const std::string_view trimmed = trimSpaces(text);
    FUZZ_CHECK(trimmed.empty() || (trimmed.front() != ' ' && trimmed.back() != ' '));
    FUZZ_CHECK(text.find(trimmed) != std::string_view::npos);
    FUZZ_CHECK(trimSpaces(trimmed) == trimmed);

    const auto value = parseNumber(text);
    FUZZ_CHECK(IsNumeric(text) == value.has_value());
    FUZZ_CHECK(parseNumber(trimmed) == value);

    FUZZ_CHECK(outcomeOf([&] { return textToInt16(text); }) ==
               expectedFromText<std::int16_t>(value));
    FUZZ_CHECK(outcomeOf([&] { return textToInt32(text); }) ==
               expectedFromText<std::int32_t>(value));
    if (!value) return;

    FUZZ_CHECK(std::isfinite(*value));
    // Only the number's own characters and the blanks around it.
    FUZZ_CHECK(trimmed.find_first_not_of("0123456789+-.eE") == std::string_view::npos);
    checkValue(*value);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    checkText(fuzz::asText(data, size));
    if (size >= sizeof(double)) {
        double value = 0;
        std::memcpy(&value, data, sizeof value);
        checkValue(value);
    }
    return 0;
}
