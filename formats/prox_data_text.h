#pragma once

#include <algorithm>
#include <array>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>

// The Convert direction's answer held in place: 16 octal digits, the no-result value or the
// empty text all fit in 16 characters, so a batch of millions needs no allocation per answer.
namespace morvane {

class ProxDataText {
  public:
    ProxDataText() = default;  // the empty text
    explicit ProxDataText(std::string_view text) : size_(std::min(text.size(), kCapacity)) {
        std::copy_n(text.data(), size_, text_.data());
    }
    explicit ProxDataText(const std::array<char, 16>& digits) : text_(digits), size_(kCapacity) {}

    std::string_view view() const { return {text_.data(), size_}; }
    // Sixteen digits, the length known here, are copied without a call.
    std::string str() const {
        return size_ == kCapacity ? std::string(text_.data(), kCapacity) : std::string(view());
    }

  private:
    static constexpr std::size_t kCapacity = 16;
    std::array<char, kCapacity> text_{};
    std::size_t size_ = 0;
};

// 24 bits as eight octal digit characters, most significant first, all at once: each 3-bit
// group moved into a byte of its own, the bytes put in reading order, '0' added to each.
constexpr std::uint64_t octalCharacters(std::uint64_t bits) {
    bits = (bits & 0xFFFU) | ((bits & 0xFFF000U) << 20);
    bits = (bits & 0x0000003F0000003FU) | ((bits & 0x00000FC000000FC0U) << 10);
    bits = (bits & 0x0007000700070007U) | ((bits & 0x0038003800380038U) << 5);
    return __builtin_bswap64(bits) + 0x3030303030303030U;
}

// The word's lowest 16 octal digits, leading zeros kept: the prox data text, written once.
inline ProxDataText proxDataText(std::uint64_t word) {
    static_assert(std::endian::native == std::endian::little);
    // Both halves as one 16-byte value, so that the whole text is stored at once: a reader of
    // all 16 bytes right after two 8-byte stores would wait for them to reach the cache.
    using Halves = std::uint64_t __attribute__((vector_size(16)));
    const Halves halves{octalCharacters(word >> 24 & 0xFFFFFFU), octalCharacters(word & 0xFFFFFFU)};
    std::array<char, 16> text{};
    std::memcpy(text.data(), &halves, text.size());
    return ProxDataText(text);
}

}  // namespace morvane
