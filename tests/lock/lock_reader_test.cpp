#include "readers/lock/lock_reader.h"

#include <gtest/gtest.h>

#include <QTimer>

#include "lock_test_support.h"
#include "readers/lock/com_port_check.h"
#include "readers/lock/lock_protocol.h"

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
    const std::tuple<LockRequest, std::string, std::string> cases[] = {
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
        {kInfo, "INFO " + std::string(kMaxAnswerLength - 5, 'x') + '\t',
         "The lock sent a character that is not text (0x09)."},
        {kInfo, "INFO " + std::string(kMaxAnswerLength - 5, 'x'), "unfinished"},
        {kInfo, "INFO " + std::string(kMaxAnswerLength - 4, 'x'),
         "The lock sent an answer longer than 256 characters."}};
    // clang-format on
    for (const auto& [request, bytes, expected] : cases) {
        AnswerReader whole(request), byteByByte(request);
        whole.feed(bytes);
        for (char b : bytes) byteByByte.feed(std::string_view(&b, 1));
        EXPECT_EQ(outcome(whole), expected) << bytes;
        EXPECT_EQ(outcome(byteByByte), expected) << bytes;
    }
    EXPECT_EQ(requestLine(kInfo, 5000), "INFO 5000\r\n");
}

using test::ScopedComPort;
using test::SimulatedLock;
using Lines = std::vector<std::string>;

// A lock on COM port 1 with a reader pointed at it.
struct LockOnPortOne {
    explicit LockOnPortOne(const Lines& arguments, std::int16_t waitValue = 7500, int port = 1)
        : lock(arguments), scoped(1, lock.device()) {
        reader.setPort(static_cast<std::int16_t>(port));
        reader.setWaitValue(waitValue);
    }
    SimulatedLock lock;
    ScopedComPort scoped;
    LockReader reader;
};

TEST(LockReader, MapsEveryWayARequestEnds) {
    const struct {
        Lines lock;
        std::int16_t waitValue, port;
        std::int32_t status, kind;  // status 1 success, 2 cancelled, 3 time-out, 4 error
        Lines received;
        std::string description;  // its beginning where it ends in "..."
    } cases[] = {
        // clang-format off
        {{"silent"}, 1, 1, 3, 0, {"READ 1", "CANCEL"}, ""},
        {{"lock-timeout"}, 7500, 1, 3, 0, {}, ""},
        {{"error"}, 7500, 1, 4, 1, {}, "The lock reported error 17: Card not readable"},
        {{"error", "--error-code", "0", "--error-text", ""}, 7500, 1, 4, 1, {},
         "The lock reported error 0."},
        {{"garbage"}, 7500, 1, 4, 4, {"READ 7500", "CANCEL"},
         "The lock sent a character that is not text (0x01)."},
        {{"hangup"}, 7500, 1, 4, 3, {},
         "The connection to the lock on COM port 1 was lost: the lock hung up or the device was "
         "removed."},
        {{"answer"}, 0, 1, 4, 6, {}, "The wait value 0 is not a time to wait."},
        {{"answer"}, 7500, 2, 4, 2, {}, "Could not open COM port 2 (" + test::nowhere(2) + "): ..."},
        {{"answer"}, 7500, 10, 4, 2, {}, "There is no COM port 10; the ports are numbered 1 to 9."},
        // clang-format on
    };
    for (const auto& c : cases) {
        LockOnPortOne setup(c.lock, c.waitValue, c.port);
        EXPECT_EQ(setup.reader.readCard(), c.status) << c.lock[0];
        EXPECT_EQ(setup.reader.errorKind(), c.kind) << c.lock[0];
        const std::string& d = setup.reader.errorDescription();
        const bool whole = !c.description.ends_with("...");
        EXPECT_EQ(whole ? d : d.substr(0, c.description.size() - 3) + "...", c.description);
        EXPECT_EQ(setup.reader.cardData(), "");
        EXPECT_EQ(setup.lock.received(c.received.size()), c.received);
        setup.reader.reset();
        EXPECT_EQ(setup.reader.errorKind(), 0);
        EXPECT_EQ(setup.reader.errorDescription(), "");
    }
}

// A request while one waits is refused and the first goes on; a lock that answered is left
// alone, with no cancel, for the next request.
TEST(LockReader, ARequestWhileOneWaitsIsRefusedAndTheFirstGoesOn) {
    LockOnPortOne setup(
        {"answer", "--card", "0000000600400002", "--info", "Door 12", "--delay", "300"});
    QTimer::singleShot(0, [&] {
        EXPECT_EQ(setup.reader.readCard(), setup.reader.statusError());
        EXPECT_EQ(setup.reader.errorKind(), 5);
    });
    EXPECT_EQ(setup.reader.readLockInfo(), setup.reader.statusSuccess());
    EXPECT_EQ(setup.reader.lockInfo(), "Door 12");
    for (int read = 0; read < 2; ++read) {
        EXPECT_EQ(setup.reader.readCard(), setup.reader.statusSuccess());
        EXPECT_EQ(setup.reader.cardData(), "0000000600400002");
    }
    EXPECT_EQ(setup.lock.received(3), (Lines{"INFO 7500", "READ 7500", "READ 7500"}));
}

TEST(LockReader, SurvivesBeingDestroyedWhileItWaits) {
    SimulatedLock lock({"silent"});
    ScopedComPort port(1, lock.device());
    auto* reader = new LockReader;
    reader->setPort(1);
    reader->setWaitValue(5000);
    QTimer::singleShot(0, [&] { delete reader; });
    EXPECT_EQ(reader->readCard(), 2);  // the cancelled status, read before the reader went
}

TEST(ComPortDevice, StandardLinesUnlessAnAbsolutePathIsGivenAndTheAboutTextShowsThem) {
    const std::tuple<int, std::optional<std::string>, std::optional<std::string>> cases[] = {
        // clang-format off
        {1, std::nullopt, "/dev/ttyS0"}, {9, std::nullopt, "/dev/ttyS8"},
        {4, "/dev/ttyUSB0", "/dev/ttyUSB0"}, {4, "ttyUSB0", "/dev/ttyS3"}, {4, "", "/dev/ttyS3"},
        {10, std::nullopt, std::nullopt}, {0, std::nullopt, std::nullopt}};
    // clang-format on
    for (const auto& [port, variable, device] : cases) {
        ScopedComPort scoped(port, variable);
        EXPECT_EQ(comPortDevice(port), device) << port << " " << variable.value_or("-");
    }
    ScopedComPort four(4, "/dev/ttyUSB0"), five(5, std::nullopt);
    const std::string text = LockReader().aboutText();
    EXPECT_NE(text.find("COM4: /dev/ttyUSB0\nCOM5: /dev/ttyS4\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nCOM9: "), std::string::npos) << text;
}

TEST(ComPorts, ThePortsThatOpenAreListedInOrder) {
    test::SimulatedLock first({"silent"}), ninth({"silent"});
    ScopedComPort nine(9, ninth.device()), one(1, first.device());
    EXPECT_EQ(openableComPorts(), (std::vector<std::string>{"1", "9"}));
    EXPECT_TRUE(CheckComPort(9)) << "the port must be closed again after a check";
    EXPECT_FALSE(CheckComPort(3));
    EXPECT_FALSE(CheckComPort(10));
}

}  // namespace
}  // namespace morvane
