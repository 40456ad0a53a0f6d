#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

// What every fuzz target shares: how an input is cut into its texts, and how a broken promise is
// reported so that libFuzzer keeps the input that broke it.

// Aborts naming the failed condition; libFuzzer counts the abort as a finding and keeps the
// input that caused it.
#define FUZZ_CHECK(condition)                                                    \
    do {                                                                         \
        if (!(condition)) ::morvane::fuzz::fail(#condition, __FILE__, __LINE__); \
    } while (false)

namespace morvane::fuzz {

[[noreturn]] inline void fail(const char* condition, const char* file, int line) {
    std::fprintf(stderr, "%s:%d: broken promise: %s\n", file, line, condition);
    std::abort();
}

inline std::string_view asText(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

// The input's first `count` lines, each without its line feed; the last one takes the rest of
// the input, line feeds included. Missing lines are empty. A line feed never reaches a box or a
// file line, so it is a safe place to cut.
inline std::vector<std::string_view> lines(std::string_view input, std::size_t count) {
    std::vector<std::string_view> out;
    out.reserve(count);
    while (out.size() + 1 < count) {
        const auto end = input.find('\n');
        if (end == std::string_view::npos) break;
        out.push_back(input.substr(0, end));
        input.remove_prefix(end + 1);
    }
    out.push_back(input);
    out.resize(count);
    return out;
}

inline bool isOctalDigits(std::string_view text) {
    return text.find_first_not_of("01234567") == std::string_view::npos;
}

inline bool isDecimalDigits(std::string_view text) {
    return !text.empty() && text.find_first_not_of("0123456789") == std::string_view::npos;
}

// A whole number's decimal text as GetNumber writes it: digits, no leading zero but in "0".
inline bool isPlainWholeNumber(std::string_view text) {
    return isDecimalDigits(text) && (text.size() == 1 || text.front() != '0');
}

inline bool isPrintableAscii(std::string_view text) {
    for (char c : text) {
        if (c < 0x20 || c > 0x7e) return false;
    }
    return true;
}

}  // namespace morvane::fuzz
