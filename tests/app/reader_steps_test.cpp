// The reader step runner's own rules: one step at a time, a missed deadline ends the step as a
// failed one and drops its late answer, and closing ends a running step.
#include <gtest/gtest.h>

#include <QTest>
#include <condition_variable>
#include <mutex>

#include "app/reader_steps.h"

namespace morvane::test {
namespace {

// One reader with LUID 3 and a 26-bit card, whose connect and card read wait at a gate until the
// test opens it or the step is interrupted; then they answer as a working reader does.
class GatedLibrary final : public ReaderLibrary {
  public:
    void open() {
        std::lock_guard lock(mutex_);
        open_ = true;
        changed_.notify_all();
    }
    void awaitCaller() {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return waiting_; });
    }
    void interrupt() override { open(); }

    std::int16_t USBConnect(std::int32_t& device) override {
        device = 0x210;
        return pass();
    }
    std::int16_t GetActiveID(CardBuffer& buffer) override {
        buffer = {0x73, 0x60, 0xF6};
        return static_cast<std::int16_t>(26 * pass());
    }
    std::int16_t ReadCfg() override { return 1; }
    std::int16_t GetDevCnt() override { return 1; }
    std::int16_t GetLUID() override { return 3; }
    std::int16_t SetDevTypeSrch(std::int16_t) override { return 1; }
    std::int16_t SetConnectProduct(std::int16_t) override { return 1; }
    std::int16_t SetActDev(std::int16_t) override { return 1; }
    std::int16_t GetActDev() override { return 0; }
    std::int16_t SetLUID(std::int16_t) override { return 1; }
    std::int16_t setRecord(RecordId, const ParameterRecord&) override { return 1; }
    std::int16_t WriteCfg() override { return 1; }

  private:
    std::int16_t pass() {
        std::unique_lock lock(mutex_);
        waiting_ = true;
        changed_.notify_all();
        changed_.wait(lock, [this] { return open_; });
        return 1;
    }
    std::mutex mutex_;
    std::condition_variable changed_;
    bool open_ = false;
    bool waiting_ = false;
};

enum class While { Nothing, ClickAgain, MissDeadline, Close };

TEST(ReaderSteps, OneStepAtATimeADeadlineEndsItAsFailedAndClosingEndsIt) {
    const std::string noCard = "No Data Read from Card/RFIDeas pcProx (CRP2) Status|";
    const struct {
        bool read;
        While meanwhile;
        std::string outcomes;  // every outcome signalled, each closed by '|'
    } rows[] = {
        {true, While::Nothing, "0000000475460163|"},
        {false, While::Nothing, "found 3|"},
        {true, While::ClickAgain, "0000000475460163|"},
        {false, While::ClickAgain, "found 3|"},
        {true, While::MissDeadline, noCard},
        {false, While::MissDeadline, "none |"},
        {true, While::Close, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(std::to_string(row.read) + " " + std::to_string(int(row.meanwhile)));
        auto library = std::make_unique<GatedLibrary>();
        GatedLibrary& gate = *library;
        const bool late = row.meanwhile == While::MissDeadline;
        auto steps = std::make_unique<ReaderSteps>(std::move(library), "",
                                                   std::chrono::milliseconds(late ? 1 : 600'000));
        std::string outcomes;
        bool idle = false;
        QObject::connect(steps.get(), &ReaderSteps::cardRead, [&](const CardReadOutcome& o) {
            for (const CardReadMessage& m : o.messages) outcomes += m.text + "/" + m.title;
            outcomes += o.cardData + "|";
        });
        QObject::connect(steps.get(), &ReaderSteps::reinitialized, [&](const ReinitializeOutcome& o) {
            outcomes += (o.readerFound ? "found " : "none ");
            for (const LuidListEntry& e : o.luidList.entries()) outcomes += e.text;
            outcomes += "|";
        });
        QObject::connect(steps.get(), &ReaderSteps::idle, [&] { idle = true; });
        ASSERT_TRUE(row.read ? steps->readCard() : steps->reinitialize(""));
        if (!late) gate.awaitCaller();
        EXPECT_TRUE(steps->busy());
        if (row.meanwhile == While::ClickAgain) {
            EXPECT_FALSE(steps->readCard() || steps->reinitialize(""));
        }
        if (row.meanwhile == While::Close) {
            steps.reset();  // returns without the test opening the gate
            QCoreApplication::processEvents();
        } else {
            if (!late) gate.open();
            ASSERT_TRUE(QTest::qWaitFor([&] { return idle; }, 60'000));
            EXPECT_FALSE(steps->busy());
        }
        QCoreApplication::processEvents();
        EXPECT_EQ(outcomes, row.outcomes);
    }
}

}  // namespace
}  // namespace morvane::test
