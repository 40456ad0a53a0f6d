#include "readers/lock/lock_reader.h"

#include <gtest/gtest.h>

#include <QTimer>
#include <string>

#include "lock_test_support.h"

namespace morvane {
namespace {

using test::ScopedComPort;
using test::SimulatedLock;
using Lines = std::vector<std::string>;

constexpr const char* kCard = "0000000600400002";

// A lock on COM port 1 with a reader pointed at it.
struct LockOnPortOne {
    explicit LockOnPortOne(const Lines& arguments, std::int16_t waitValue = 7500)
        : lock(arguments), port(1, lock.device()) {
        reader.setPort(1);
        reader.setWaitValue(waitValue);
    }
    SimulatedLock lock;
    ScopedComPort port;
    LockReader reader;
};

TEST(LockReader, ReadsACardAndLeavesALockThatAnsweredAlone) {
    LockOnPortOne setup({"answer", "--card", kCard, "--delay", "0"});
    for (int read = 0; read < 2; ++read) {
        EXPECT_EQ(setup.reader.readCard(), setup.reader.statusSuccess());
        EXPECT_EQ(setup.reader.cardData(), kCard);
    }
    EXPECT_EQ(setup.lock.received(2), (Lines{"READ 7500", "READ 7500"}));
}

// Status, error kind and description, and whether the lock was told to stop looking.
struct Outcome {
    Lines lock;
    std::int16_t waitValue;
    std::int32_t status;  // 1 success, 2 cancelled, 3 time-out, 4 error
    std::int32_t kind;
    std::string description;
    bool cancelSent;
};

TEST(LockReader, MapsEveryWayARequestEnds) {
    const Outcome cases[] = {
        {{"silent"}, 1, 3, 0, "", true},
        {{"lock-timeout"}, 7500, 3, 0, "", false},
        {{"error", "--error-code", "17", "--error-text", "Card not readable"},
         7500,
         4,
         1,
         "The lock reported error 17: Card not readable",
         false},
        {{"error", "--error-text", ""}, 7500, 4, 1, "The lock reported error 17.", false},
        {{"garbage"}, 7500, 4, 4, "The lock sent a character that is not text (0x01).", true},
        {{"hangup"},
         7500,
         4,
         3,
         "The connection to the lock on COM port 1 was lost: the lock hung up or the device "
         "was removed.",
         false},
        {{"answer"}, 0, 4, 6, "The wait value 0 is not a time to wait.", false},
    };
    for (const Outcome& c : cases) {
        LockOnPortOne setup(c.lock, c.waitValue);
        EXPECT_EQ(setup.reader.readCard(), c.status) << c.lock[0];
        EXPECT_EQ(setup.reader.errorKind(), c.kind) << c.lock[0];
        EXPECT_EQ(setup.reader.errorDescription(), c.description);
        EXPECT_EQ(setup.reader.cardData(), "");
        if (c.waitValue < 1) continue;
        const Lines sent = setup.lock.received(c.cancelSent ? 2 : 1);
        EXPECT_EQ(sent.size() == 2 && sent[1] == "CANCEL", c.cancelSent) << c.lock[0];
    }
}

TEST(LockReader, ErrorKindTwoWhenThereIsNoPortToOpen) {
    LockReader reader;
    reader.setWaitValue(7500);
    reader.setPort(2);
    EXPECT_EQ(reader.readLockInfo(), reader.statusError());
    EXPECT_EQ(reader.errorKind(), 2);
    EXPECT_TRUE(reader.errorDescription().starts_with("Could not open COM port 2 (" +
                                                      test::nowhere(2) + "): "));
    reader.setPort(10);
    EXPECT_EQ(reader.readCard(), reader.statusError());
    EXPECT_EQ(reader.errorKind(), 2);
    EXPECT_EQ(reader.errorDescription(), "There is no COM port 10; the ports are numbered 1 to 9.");
    reader.reset();
    EXPECT_EQ(reader.errorKind(), 0);
    EXPECT_EQ(reader.errorDescription(), "");
}

TEST(LockReader, ARequestWhileOneWaitsIsRefusedAndTheFirstGoesOn) {
    LockOnPortOne setup({"answer", "--info", "Door 12", "--delay", "300"});
    std::int32_t nestedKind = 0;
    QTimer::singleShot(50, [&] {
        EXPECT_EQ(setup.reader.readCard(), setup.reader.statusError());
        nestedKind = setup.reader.errorKind();
    });
    EXPECT_EQ(setup.reader.readLockInfo(), setup.reader.statusSuccess());
    EXPECT_EQ(setup.reader.lockInfo(), "Door 12");
    EXPECT_EQ(nestedKind, 5);
    EXPECT_EQ(setup.lock.received(1), Lines{"INFO 7500"});
}

TEST(LockReader, SurvivesBeingDestroyedWhileItWaits) {
    SimulatedLock lock({"silent"});
    ScopedComPort port(1, lock.device());
    auto* reader = new LockReader;
    reader->setPort(1);
    reader->setWaitValue(5000);
    QTimer::singleShot(100, [&] { delete reader; });
    EXPECT_EQ(reader->readCard(), 2);  // the cancelled status, read before the reader went
}

TEST(LockReader, AboutTextShowsWhereEachPortLeads) {
    ScopedComPort four(4, "/dev/ttyUSB0");
    ScopedComPort five(5, std::nullopt);
    const std::string text = LockReader().aboutText();
    EXPECT_NE(text.find("COM4: /dev/ttyUSB0\nCOM5: /dev/ttyS4\n"), std::string::npos) << text;
    EXPECT_NE(text.find("\nCOM9: "), std::string::npos) << text;
}

}  // namespace
}  // namespace morvane
