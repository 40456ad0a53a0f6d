// Arbitrary input for the configuration loader and the card read: no crash, no read outside a
// buffer (the sanitizer build checks), and the rules that must hold whatever the input.

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <sstream>

#include "formats/card_format.h"
#include "readers/leading_number.h"
#include "readers/reader_config.h"
#include "readers/usb_card_read.h"
#include "sim_fixture.h"

namespace morvane::test {
namespace {

constexpr int kRounds = 3000;

// Texts near the numbers a configuration line holds, with the odd stray byte.
std::string randomLineText(std::mt19937& rng) {
    static constexpr std::string_view kAlphabet = "0123456789 +-.eE\"()xT\t";
    std::uniform_int_distribution<int> length(0, 12), pick(0, 99), byte(0, 255);
    std::string text;
    for (int n = length(rng); n > 0; --n) {
        const int p = pick(rng);
        text.push_back(p < 95 ? kAlphabet[static_cast<std::size_t>(p) % kAlphabet.size()]
                              : static_cast<char>(byte(rng)));
        if (text.back() == '\r' || text.back() == '\n') text.back() = ' ';
    }
    return text;
}

struct Untouched {
    RecordId record;
    std::vector<int> fields;
};
const std::vector<Untouched> kNeverFromTheFile{
    {RecordId::Flags2, {1, 8}},           {RecordId::Flags3, {7, 8}},
    {RecordId::IDBitCnts, {5, 6, 7, 8}},  {RecordId::IDDispParms, {5, 6, 7, 8}},
    {RecordId::IDDispParms2, {7, 8}},     {RecordId::IDDispParms3, {5, 6, 7, 8}},
    {RecordId::LEDCtrl, {4, 5, 6, 7, 8}}, {RecordId::TimeParms, {6, 7, 8}},
};

TEST(ConfigProperties, AnyLinesLoadTheSameWhateverTheLineEnds) {
    std::mt19937 rng(20240601);
    std::uniform_int_distribution<int> lineCount(40, 52);
    for (int round = 0; round < kRounds; ++round) {
        std::vector<std::string> lines(static_cast<std::size_t>(lineCount(rng)));
        for (auto& line : lines) line = randomLineText(rng);
        ReaderRecords first;
        std::optional<bool> firstComplete;
        for (const char* end : {"\n", "\r\n", "\r"}) {
            std::string text;
            for (const auto& line : lines) text += line + end;
            ReaderRecords records;
            std::istringstream in(text);
            const bool complete = loadReaderConfig(in, records);
            EXPECT_EQ(complete, lines.size() >= 47);
            if (!firstComplete) {
                firstComplete = complete;
                first = records;
            }
            EXPECT_EQ(records, first) << text;
        }
        EXPECT_EQ(first[RecordId::Flags2][4], first[RecordId::Flags2][3] == 1 ? 1 : 0);
        for (const Untouched& u : kNeverFromTheFile) {
            for (int f : u.fields) EXPECT_EQ(first[u.record][f], 0);
        }
        if (!*firstComplete) {
            EXPECT_EQ(first, ReaderRecords{});
        }
    }
}

TEST(ConfigProperties, RawBytesNeverBreakTheLoader) {
    std::mt19937 rng(7);
    std::uniform_int_distribution<int> byte(0, 255), length(0, 600);
    for (int round = 0; round < kRounds; ++round) {
        std::string bytes(static_cast<std::size_t>(length(rng)), '\0');
        for (char& c : bytes) c = static_cast<char>(byte(rng) % 3 == 0 ? '\n' : byte(rng));
        ReaderRecords records;
        std::istringstream in(bytes);
        loadReaderConfig(in, records);
        const auto value = leadingNumber(bytes);
        if (value) {
            EXPECT_TRUE(std::isfinite(*value));
        }
    }
}

class FakeReader : public ReaderLibrary {
  public:
    std::int16_t bits = 0;
    CardBuffer card{};
    std::int16_t SetDevTypeSrch(std::int16_t) override { return 0; }
    std::int16_t SetConnectProduct(std::int16_t) override { return 0; }
    std::int16_t USBConnect(std::int32_t&) override { return 0; }
    std::int16_t ReadCfg() override { return 0; }
    std::int16_t GetDevCnt() override { return 0; }
    std::int16_t SetActDev(std::int16_t) override { return 0; }
    std::int16_t GetActDev() override { return 0; }
    std::int16_t GetLUID() override { return 0; }
    std::int16_t SetLUID(std::int16_t) override { return 0; }
    std::int16_t setRecord(RecordId, const ParameterRecord&) override { return 0; }
    std::int16_t WriteCfg() override { return 0; }
    std::int16_t GetActiveID(CardBuffer& buffer) override {
        buffer = card;
        return bits;
    }
};

TEST(CardReadProperties, AnyBitsGiveProxDataTheNoResultValueOrNothing) {
    std::mt19937 rng(42);
    std::uniform_int_distribution<int> byte(0, 255), bits(-32768, 32767), known(0, 7), zeros(0, 8);
    constexpr std::array<int, 8> kCounts{26, 34, 35, 36, 37, 42, 0, 64};
    for (int round = 0; round < kRounds; ++round) {
        FakeReader reader;
        const int z = zeros(rng);  // leading zero bytes are common on short cards
        for (std::size_t i = 0; i < reader.card.size(); ++i) {
            reader.card[i] = i + z >= 8 ? 0 : static_cast<std::uint8_t>(byte(rng));
        }
        reader.bits = static_cast<std::int16_t>(round % 2 ? kCounts[known(rng)] : bits(rng));

        const std::string hex = cardHexText(reader.card);
        EXPECT_EQ(hex.size() % 2, 0U);
        EXPECT_FALSE(hex.starts_with("00"));
        EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
        std::uint64_t value = 0;
        for (std::size_t i = 0; i < 8; ++i) value |= std::uint64_t{reader.card[i]} << (8 * i);
        EXPECT_EQ(hex.empty() ? 0 : std::stoull(hex, nullptr, 16), value);

        RecordingMessages messages;
        const std::string data = ReadUSBCard(&reader, messages);
        EXPECT_TRUE(data.empty() || data.size() == 16) << data;
        EXPECT_EQ(data.find_first_not_of(data == kNoResult ? "?" : "01234567"), std::string::npos);
        const bool noData = reader.bits <= 0;
        EXPECT_EQ(!messages.shown.empty() && !messages.shown[0].title.empty(), noData);
    }
}

}  // namespace
}  // namespace morvane::test
