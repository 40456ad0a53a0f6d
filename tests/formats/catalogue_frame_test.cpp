// Every encoder against a frame built straight from the catalogue's layout and parity tables.
#include <gtest/gtest.h>

#include <random>
#include <string>

#include "formats/card_format.h"
#include "formats/prox_data.h"
#include "support/recording_host.h"

namespace morvane {
namespace {

using test::RecordingHost;

std::uint64_t frameFromCatalogue(const Layout& l, std::uint64_t hotstamp, std::uint64_t facility,
                                 std::uint64_t version) {
    std::uint64_t word = hotstamp << l.hotstamp.low | l.fixedOnes;
    if (l.facility.present()) word |= facility << l.facility.low;
    if (l.version.present()) word |= version << l.version.low;
    for (const ParityRule& rule : l.parity) {
        const bool odd = __builtin_popcountll(word & rule.group) % 2 != 0;
        if (odd == (rule.kind == Parity::Even)) word |= bitAt(rule.bit);
    }
    if (l.sentinelBit >= 0) word |= bitAt(l.sentinelBit);
    return word;
}

std::string octal16(std::uint64_t word) {
    std::string s(16, '0');
    for (int i = 15; i >= 0; --i, word >>= 3)
        s[static_cast<std::size_t>(i)] = char('0' + (word & 7));
    return s;
}

std::uint64_t pick(std::mt19937_64& rng, std::uint64_t limit, int i) {
    if (i == 0) return 0;
    if (i == 1) return limit;
    return rng() % (limit + 1);
}

TEST(CatalogueFrame, EveryEncoderAgreesWithTheLayoutTables) {
    std::mt19937_64 rng(2024);
    for (const Layout& l : layouts()) {
        SCOPED_TRACE(std::string(l.description));
        for (int i = 0; i < 5000; ++i) {
            const std::uint64_t h = pick(rng, l.hotstampLimit, i);
            std::uint64_t f = l.facilityLimit ? pick(rng, *l.facilityLimit, i) : 0;
            const std::uint64_t v = l.versionLimit ? pick(rng, *l.versionLimit, i) : 0;
            // Facility 0 selects the layout without facility code under "37".
            if (l.id == LayoutId::F37 && f == 0) f = 1;
            RecordingHost host;
            host.facility = std::to_string(f);
            host.version = std::to_string(v);
            const auto fc = static_cast<std::int32_t>(f);
            ASSERT_EQ(CalcProxData(std::to_string(h), l.code, fc, host),
                      octal16(frameFromCatalogue(l, h, f, v)))
                << "hotstamp " << h << " facility " << f << " version " << v;
        }
    }
}

// The reader's masks must say what the layouts say, bit for bit.
TEST(CatalogueFrame, LayoutMasksDescribeTheirLayouts) {
    int masks = 0;
    for (const Layout& l : layouts()) {
        if (l.layoutMask.empty()) continue;
        ++masks;
        ASSERT_EQ(l.layoutMask.size(), static_cast<std::size_t>(l.frameBits)) << l.code;
        for (int p = 0; p < l.frameBits; ++p) {
            const char c = l.layoutMask[static_cast<std::size_t>(l.frameBits - 1 - p)];
            bool parity = false;
            for (const ParityRule& r : l.parity) parity |= r.bit == p;
            char expected = '0';
            if (parity)
                expected = 'P';
            else if (l.facility.mask() & bitAt(p))
                expected = 'F';
            else if (l.hotstamp.mask() & bitAt(p))
                expected = 'I';
            else if (l.fixedOnes & bitAt(p))
                expected = '1';
            EXPECT_EQ(c, expected) << l.code << " bit " << p;
        }
    }
    EXPECT_EQ(masks, 5);
}

}  // namespace
}  // namespace morvane
