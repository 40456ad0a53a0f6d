#include "readers/lock/lock_protocol.h"

#include <gtest/gtest.h>

#include <string>

namespace morvane {
namespace {

using Kind = LockAnswer::Kind;

struct Answered {
    LockRequest request;
    std::string bytes;
    Kind kind;
    std::string text;
    int errorCode;
};

TEST(AnswerReader, ReadsEveryAnswerForm) {
    const std::string sixteen = "0000000600400002";
    const Answered cases[] = {
        {LockRequest::ReadCard, "CARD " + sixteen + "\r\n", Kind::Card, sixteen, 0},
        {LockRequest::ReadCard, "CARD " + sixteen + "\n", Kind::Card, sixteen, 0},
        {LockRequest::ReadCard, "CARD\r\n", Kind::Card, "", 0},
        // Split Data refuses what is not octal; the lock may still report it.
        {LockRequest::ReadCard, "CARD ????????????????\n", Kind::Card, "????????????????", 0},
        {LockRequest::ReadCard, "\r\n\nCARD 7\n", Kind::Card, "7", 0},
        {LockRequest::ReadCard, "TIMEOUT\r\n", Kind::Timeout, "", 0},
        {LockRequest::LockInfo, "INFO Door 12, firmware 2.1\r\n", Kind::Info,
         "Door 12, firmware 2.1", 0},
        {LockRequest::ReadCard, "ERROR 17 Card not readable\r\n", Kind::Error, "Card not readable",
         17},
        {LockRequest::LockInfo, "ERROR 0042\n", Kind::Error, "", 42},
        {LockRequest::ReadCard, "ERROR 9999  two  blanks \n", Kind::Error, " two  blanks ", 9999},
        // The first answer ends the exchange; what follows belongs to nobody.
        {LockRequest::ReadCard, "CARD 1\nCARD 2\n\x01", Kind::Card, "1", 0},
    };
    for (const Answered& c : cases) {
        for (bool byteByByte : {false, true}) {
            AnswerReader reader(c.request);
            if (byteByByte) {
                for (char b : c.bytes) reader.feed(std::string_view(&b, 1));
            } else {
                reader.feed(c.bytes);
            }
            ASSERT_TRUE(reader.finished()) << c.bytes;
            ASSERT_TRUE(reader.answer().has_value())
                << c.bytes << " " << reader.fault().value_or("");
            EXPECT_EQ(reader.answer()->kind, c.kind) << c.bytes;
            EXPECT_EQ(reader.answer()->text, c.text) << c.bytes;
            EXPECT_EQ(reader.answer()->errorCode, c.errorCode) << c.bytes;
        }
    }
}

struct Refused {
    LockRequest request;
    std::string bytes;
    std::string fault;
};

TEST(AnswerReader, RefusesWhatBreaksTheProtocolWithAClearReason) {
    const std::string notUnderstood = "The lock sent an answer this program does not understand.";
    const Refused cases[] = {
        {LockRequest::ReadCard, "HELLO\n", notUnderstood},
        {LockRequest::ReadCard, "card 0000000600400002\n", notUnderstood},
        {LockRequest::ReadCard, "TIMEOUT now\n", notUnderstood},
        {LockRequest::ReadCard, "CARD 00000006004000023\n",
         "The lock sent card data longer than 16 characters."},
        {LockRequest::ReadCard, "CARD 0000 0006\n", "The lock sent card data with a blank in it."},
        {LockRequest::ReadCard, "INFO Door 12\n",
         "The lock sent its information when asked for a card."},
        {LockRequest::LockInfo, "CARD 0000000600400002\n",
         "The lock sent card data when asked for its information."},
        {LockRequest::ReadCard, "ERROR\n",
         "The lock reported an error without a proper error number."},
        {LockRequest::ReadCard, "ERROR x\n",
         "The lock reported an error without a proper error number."},
        {LockRequest::ReadCard, "ERROR 12345 big\n",
         "The lock reported an error without a proper error number."},
        {LockRequest::ReadCard, "ERROR 12x\n",
         "The lock reported an error without a proper error number."},
        {LockRequest::ReadCard, std::string("CARD \x01", 6),
         "The lock sent a character that is not text (0x01)."},
        {LockRequest::ReadCard, std::string("\0", 1),
         "The lock sent a character that is not text (0x00)."},
        {LockRequest::ReadCard, "CARD \xfe", "The lock sent a character that is not text (0xFE)."},
        {LockRequest::ReadCard, "CARD\tX\n", "The lock sent a character that is not text (0x09)."},
        {LockRequest::ReadCard, "CARD 1\rCARD 2\n",
         "The lock sent a carriage return in the middle of its answer."},
    };
    for (const Refused& c : cases) {
        AnswerReader reader(c.request);
        reader.feed(c.bytes);
        ASSERT_TRUE(reader.finished()) << c.bytes;
        EXPECT_FALSE(reader.answer().has_value()) << c.bytes;
        EXPECT_EQ(reader.fault().value_or(""), c.fault) << c.bytes;
    }
}

TEST(AnswerReader, StopsAnEndlessLineAtTheBoundWithoutWaitingForItsEnd) {
    AnswerReader atBound(LockRequest::LockInfo);
    atBound.feed("INFO " + std::string(kMaxAnswerLength - 5, 'x'));
    EXPECT_FALSE(atBound.finished()) << "256 characters are still an answer";
    atBound.feed("\n");
    ASSERT_TRUE(atBound.answer().has_value());
    EXPECT_EQ(atBound.answer()->text.size(), kMaxAnswerLength - 5);

    AnswerReader overBound(LockRequest::LockInfo);
    overBound.feed("INFO " + std::string(kMaxAnswerLength - 4, 'x'));
    EXPECT_EQ(overBound.fault().value_or(""),
              "The lock sent an answer longer than 256 characters.");
}

}  // namespace
}  // namespace morvane
