#include "readers/lock/lock_reader.h"

#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTimer>
#include <string>

#include "lock_test_support.h"

namespace morvane {
namespace {

using test::nowhere;
using test::ScopedComPort;
using test::SimulatedLock;

constexpr const char* kCard = "0000000600400002";
constexpr std::int16_t kShortWait = 400;

// A lock on COM port 1 with a reader pointed at it.
struct LockOnPortOne {
    explicit LockOnPortOne(std::vector<std::string> arguments, std::int16_t waitValue = 7500)
        : lock(arguments), port(1, lock.device()) {
        reader.setPort(1);
        reader.setWaitValue(waitValue);
    }
    SimulatedLock lock;
    ScopedComPort port;
    LockReader reader;
};

TEST(LockReader, ReadsACardAndTellsTheLockHowLongItWaits) {
    LockOnPortOne setup({"answer", "--card", kCard});
    EXPECT_EQ(setup.reader.readCard(), setup.reader.statusSuccess());
    EXPECT_EQ(setup.reader.cardData(), kCard);
    EXPECT_EQ(setup.reader.errorKind(), 0);
    EXPECT_EQ(setup.reader.errorDescription(), "");
    EXPECT_TRUE(setup.lock.waitForReport("received: READ 7500"));

    // The port is closed between requests and opens again for the next one.
    EXPECT_EQ(setup.reader.readCard(), setup.reader.statusSuccess());
    EXPECT_EQ(setup.reader.cardData(), kCard);
}

TEST(LockReader, GivesTheTimeoutStatusWhenTheLockSaysSoOrStaysSilent) {
    {
        LockOnPortOne setup({"lock-timeout"}, kShortWait);
        EXPECT_EQ(setup.reader.readCard(), setup.reader.statusTimeout());
    }
    LockOnPortOne setup({"silent"}, kShortWait);
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(setup.reader.readCard(), setup.reader.statusTimeout());
    EXPECT_GE(clock.elapsed(), kShortWait);
    EXPECT_EQ(setup.reader.errorKind(), 0);
    EXPECT_TRUE(setup.lock.waitForReport("received: CANCEL"))
        << "a lock still looking for a card must be told to stop";
}

TEST(LockReader, CancelEndsTheWaitAndTellsTheLock) {
    LockOnPortOne setup({"silent"});
    QTimer::singleShot(150, &setup.reader, &LockReader::cancel);
    EXPECT_EQ(setup.reader.readCard(), setup.reader.statusCancelled());
    EXPECT_FALSE(setup.reader.isBusy());
    EXPECT_TRUE(setup.lock.waitForReport("received: CANCEL"));
    setup.reader.cancel();  // nothing waits: no effect
}

struct Failure {
    std::vector<std::string> arguments;
    std::int32_t kind;
    std::string description;
};

TEST(LockReader, ReportsTheLocksErrorsAndABrokenLineAsErrorsNotACrashOrAHang) {
    const Failure cases[] = {
        {{"error", "--error-code", "17", "--error-text", "Card not readable"},
         1,
         "The lock reported error 17: Card not readable"},
        {{"garbage"}, 4, "The lock sent a character that is not text (0x01)."},
        {{"endless"}, 4, "The lock sent an answer longer than 256 characters."},
        {{"answer", "--card", "00000006004000021"},
         4,
         "The lock sent card data longer than 16 characters."},
        {{"hangup"},
         3,
         "The connection to the lock on COM port 1 was lost: the lock hung up or the device "
         "was removed."},
    };
    for (const Failure& c : cases) {
        LockOnPortOne setup(c.arguments);
        QElapsedTimer clock;
        clock.start();
        EXPECT_EQ(setup.reader.readCard(), setup.reader.statusError()) << c.arguments[0];
        EXPECT_LT(clock.elapsed(), 7500) << c.arguments[0] << " waited for the time-out";
        EXPECT_EQ(setup.reader.errorKind(), c.kind) << c.arguments[0];
        EXPECT_EQ(setup.reader.errorDescription(), c.description);
        EXPECT_EQ(setup.reader.cardData(), "");
        if (c.kind == 4) {
            EXPECT_TRUE(setup.lock.waitForReport("received: CANCEL"))
                << c.arguments[0] << ": a lock still sending must be told to stop";
        }
    }
}

TEST(LockReader, ErrorKindTwoWhenThePortDoesNotOpen) {
    LockReader reader;
    reader.setWaitValue(7500);
    reader.setPort(2);
    EXPECT_EQ(reader.readCard(), reader.statusError());
    EXPECT_EQ(reader.errorKind(), 2);
    EXPECT_TRUE(
        reader.errorDescription().starts_with("Could not open COM port 2 (" + nowhere(2) + "): "))
        << reader.errorDescription();

    for (std::int16_t port : std::initializer_list<std::int16_t>{0, 10, -3}) {
        reader.setPort(port);
        EXPECT_EQ(reader.readLockInfo(), reader.statusError());
        EXPECT_EQ(reader.errorKind(), 2);
        EXPECT_EQ(reader.errorDescription(), "There is no COM port " + std::to_string(port) +
                                                 "; the ports are numbered 1 to 9.");
    }
}

TEST(LockReader, RefusesAWaitValueThatIsNoTime) {
    LockOnPortOne setup({"answer"});
    for (std::int16_t wait : std::initializer_list<std::int16_t>{0, -7500}) {
        setup.reader.setWaitValue(wait);
        EXPECT_EQ(setup.reader.readCard(), setup.reader.statusError());
        EXPECT_EQ(setup.reader.errorKind(), 6);
        EXPECT_EQ(setup.reader.errorDescription(),
                  "The wait value " + std::to_string(wait) + " is not a time to wait.");
    }
    EXPECT_EQ(setup.lock.reports(), std::vector<std::string>{}) << "nothing was sent";
}

TEST(LockReader, ARequestWhileOneWaitsIsRefusedAndTheFirstGoesOn) {
    LockOnPortOne setup({"answer", "--card", kCard, "--delay", "300"});
    std::int32_t nested = 0;
    std::int32_t nestedKind = 0;
    QTimer::singleShot(50, [&] {
        nested = setup.reader.readLockInfo();
        nestedKind = setup.reader.errorKind();
    });
    EXPECT_EQ(setup.reader.readCard(), setup.reader.statusSuccess());
    EXPECT_EQ(setup.reader.cardData(), kCard);
    EXPECT_EQ(nested, setup.reader.statusError());
    EXPECT_EQ(nestedKind, 5);
}

TEST(LockReader, SurvivesBeingDestroyedWhileItWaits) {
    SimulatedLock lock({"silent"});
    ScopedComPort port(1, lock.device());
    auto* reader = new LockReader;
    reader->setPort(1);
    reader->setWaitValue(5000);
    QTimer::singleShot(100, [&] { delete reader; });
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(reader->readCard(), 2);  // the cancelled status, read before the reader went
    EXPECT_LT(clock.elapsed(), 5000);
}

TEST(LockReader, AboutTextShowsWhereEachPortLeads) {
    ScopedComPort four(4, "/dev/ttyUSB0");
    ScopedComPort five(5, std::nullopt);
    const std::string text = LockReader().aboutText();
    EXPECT_NE(text.find("COM4: /dev/ttyUSB0\n"), std::string::npos) << text;
    EXPECT_NE(text.find("COM5: /dev/ttyS4\n"), std::string::npos) << text;
    EXPECT_NE(text.find("MORVANE_COM1"), std::string::npos) << text;
}

}  // namespace
}  // namespace morvane
