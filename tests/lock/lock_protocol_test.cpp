#include "readers/lock/lock_protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace morvane {
namespace {

constexpr auto kCard = LockRequest::ReadCard;
constexpr auto kInfo = LockRequest::LockInfo;

// An answer as "<kind> <error code> <text>", a refusal as its reason.
std::string outcome(const AnswerReader& reader) {
    if (!reader.finished()) return "unfinished";
    if (reader.fault()) return *reader.fault();
    static const char* const kinds[] = {"Card", "Info", "Timeout", "Error"};
    const LockAnswer& a = *reader.answer();
    return kinds[static_cast<int>(a.kind)] + (" " + std::to_string(a.errorCode)) + " " + a.text;
}

TEST(AnswerReader, ReadsEveryAnswerFormAndRefusesWhatBreaksTheProtocol) {
    const std::string notUnderstood = "The lock sent an answer this program does not understand.";
    const std::string noNumber = "The lock reported an error without a proper error number.";
    const struct {
        LockRequest request;
        std::string bytes;
        std::string outcome;
    } cases[] = {
        // clang-format off
        {kCard, "CARD 0000000600400002\r\n", "Card 0 0000000600400002"},
        {kCard, "\r\n\nCARD\n", "Card 0 "}, {kCard, "CARD 1\nCARD 2\n\x01", "Card 0 1"},
        {kCard, "TIMEOUT\r\n", "Timeout 0 "},
        {kInfo, "INFO Door 12\r\n", "Info 0 Door 12"}, {kInfo, "ERROR 9999\n", "Error 9999 "},
        {kCard, "ERROR 17 Card not readable\r\n", "Error 17 Card not readable"},
        {kCard, "HELLO\n", notUnderstood}, {kCard, "CARDS\n", notUnderstood},
        {kCard, "TIMEOUT now\n", notUnderstood}, {kCard, "ERROR\n", noNumber},
        {kCard, "ERROR 12345\n", noNumber}, {kCard, "ERROR 12x\n", noNumber},
        {kCard, "CARD 00000006004000023\n", "The lock sent card data longer than 16 characters."},
        {kCard, "CARD 0000 0006\n", "The lock sent card data with a blank in it."},
        {kCard, "INFO Door 12\n", "The lock sent its information when asked for a card."},
        {kInfo, "CARD 1\n", "The lock sent card data when asked for its information."},
        {kCard, "CARD \x7f", "The lock sent a character that is not text (0x7F)."},
        {kCard, std::string("\x1f", 1), "The lock sent a character that is not text (0x1F)."},
        {kCard, "CARD 1\rCARD 2\n", "The lock sent a carriage return in the middle of its answer."},
        {kInfo, "INFO " + std::string(kMaxAnswerLength - 5, 'x'), "unfinished"},
        {kInfo, "INFO " + std::string(kMaxAnswerLength - 4, 'x'),
         "The lock sent an answer longer than 256 characters."}};
    // clang-format on
    for (const auto& c : cases) {
        AnswerReader whole(c.request);
        whole.feed(c.bytes);
        EXPECT_EQ(outcome(whole), c.outcome) << c.bytes;
        AnswerReader byteByByte(c.request);
        for (char b : c.bytes) byteByByte.feed(std::string_view(&b, 1));
        EXPECT_EQ(outcome(byteByByte), c.outcome) << c.bytes;
    }
    EXPECT_EQ(requestLine(kInfo, 5000), "INFO 5000\r\n");
}

}  // namespace
}  // namespace morvane
