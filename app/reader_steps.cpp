#include "app/reader_steps.h"

#include <atomic>
#include <utility>

#include "readers/usb_card_read.h"

namespace morvane {

// The library as a step sees it: once the step is abandoned every further call fails at once
// (0, outputs untouched, as a hung call ends) and the call in progress is interrupted.
class AbandonableLibrary final : public ReaderLibrary {
  public:
    explicit AbandonableLibrary(std::unique_ptr<ReaderLibrary> inner) : inner_(std::move(inner)) {}

    // Abandon from the owner's thread while the worker may be inside a call; resume before the
    // next step is handed to the worker.
    void abandon() {
        abandoned_ = true;
        inner_->interrupt();
    }
    void resume() { abandoned_ = false; }

    void beginStep() override { inner_->beginStep(); }
    bool everyCallAnswered() const override { return live() && inner_->everyCallAnswered(); }
    std::int16_t SetDevTypeSrch(std::int16_t t) override {
        return live() ? inner_->SetDevTypeSrch(t) : 0;
    }
    std::int16_t SetConnectProduct(std::int16_t p) override {
        return live() ? inner_->SetConnectProduct(p) : 0;
    }
    std::int16_t USBConnect(std::int32_t& device) override {
        return live() ? inner_->USBConnect(device) : 0;
    }
    std::int16_t ReadCfg() override { return live() ? inner_->ReadCfg() : 0; }
    std::int16_t GetDevCnt() override { return live() ? inner_->GetDevCnt() : 0; }
    std::int16_t SetActDev(std::int16_t i) override { return live() ? inner_->SetActDev(i) : 0; }
    std::int16_t GetActDev() override { return live() ? inner_->GetActDev() : 0; }
    std::int16_t GetLUID() override { return live() ? inner_->GetLUID() : 0; }
    std::int16_t SetLUID(std::int16_t luid) override { return live() ? inner_->SetLUID(luid) : 0; }
    std::int16_t setRecord(RecordId id, const ParameterRecord& r) override {
        return live() ? inner_->setRecord(id, r) : 0;
    }
    std::int16_t WriteCfg() override { return live() ? inner_->WriteCfg() : 0; }
    std::int16_t GetActiveID(CardBuffer& buffer) override {
        return live() ? inner_->GetActiveID(buffer) : 0;
    }

  private:
    bool live() const { return !abandoned_; }
    std::unique_ptr<ReaderLibrary> inner_;
    std::atomic<bool> abandoned_ = false;
};

namespace {

std::unique_ptr<ReaderLibrary> abandonable(std::unique_ptr<ReaderLibrary> library,
                                           AbandonableLibrary*& handle) {
    if (!library) return nullptr;
    auto wrapped = std::make_unique<AbandonableLibrary>(std::move(library));
    handle = wrapped.get();
    return wrapped;
}

// The boxes a card read would show, kept for the window to show on its own thread.
struct RecordedMessages final : CardReadMessages {
    std::vector<CardReadMessage> shown;
    void showMessage(std::string_view text) override { shown.push_back({std::string(text), {}}); }
    void showCritical(std::string_view text, std::string_view title) override {
        shown.push_back({std::string(text), std::string(title)});
    }
};

// A read that gets nothing from the library: what a reader without a card gives.
CardReadOutcome failedRead() {
    RecordedMessages messages;
    std::string cardData = ReadUSBCard(nullptr, messages);
    return {std::move(messages.shown), std::move(cardData)};
}

}  // namespace

ReaderSteps::ReaderSteps(std::unique_ptr<ReaderLibrary> library,
                         std::filesystem::path programFolder, std::chrono::milliseconds deadline,
                         QObject* parent)
    : QObject(parent),
      readers_(abandonable(std::move(library), library_), std::move(programFolder)) {
    deadline_.setSingleShot(true);
    deadline_.setInterval(deadline);
    connect(&deadline_, &QTimer::timeout, this, &ReaderSteps::missDeadline);
    worker_ = std::thread([this] { workerLoop(); });
}

ReaderSteps::~ReaderSteps() {
    deadline_.stop();
    if (library_ != nullptr) library_->abandon();
    {
        std::lock_guard lock(mutex_);
        quitting_ = true;
    }
    wake_.notify_one();
    worker_.join();
}

bool ReaderSteps::reinitialize(std::string luidEntry) {
    // A missed deadline finds no reader, lists none and takes no new LUID.
    ReinitializeOutcome failed{false, luidEntry, {}};
    return start(
        [this, entry = std::move(luidEntry)] {
            readers_.setLuidEntry(entry);
            const bool found = readers_.reinitialize();
            const ReinitializeOutcome outcome{found, readers_.LuidEntry(), readers_.luidList()};
            return Delivery([this, outcome] { emit reinitialized(outcome); });
        },
        [this, failed = std::move(failed)] { emit reinitialized(failed); });
}

bool ReaderSteps::readCard() {
    return start(
        [this] {
            RecordedMessages messages;
            UsbCardRead card = readers_.readUsbCard(messages);
            const CardReadOutcome outcome{std::move(messages.shown), std::move(card.proxData),
                                          card.bitCount};
            return Delivery([this, outcome] { emit cardRead(outcome); });
        },
        [this] { emit cardRead(failedRead()); });
}

// The worker does the work; the outcome comes back as a queued call, so that it is shown on
// this object's thread, and never once this object is gone.
bool ReaderSteps::start(std::function<Delivery()> work, Delivery failed) {
    if (busy_) return false;
    busy_ = true;
    delivered_ = false;
    failed_ = std::move(failed);
    if (library_ != nullptr) library_->resume();
    deadline_.start();
    {
        std::lock_guard lock(mutex_);
        job_ = [this, work = std::move(work)] {
            Delivery deliver = work();
            QMetaObject::invokeMethod(
                this, [this, deliver] { finish(deliver); }, Qt::QueuedConnection);
        };
    }
    wake_.notify_one();
    return true;
}

void ReaderSteps::finish(const Delivery& deliver) {
    deadline_.stop();
    // A step that missed its deadline has had its outcome: the late one is dropped.
    if (!std::exchange(delivered_, true)) deliver();
    busy_ = false;
    emit idle();
}

void ReaderSteps::missDeadline() {
    if (!busy_ || std::exchange(delivered_, true)) return;
    if (library_ != nullptr) library_->abandon();
    failed_();
}

void ReaderSteps::workerLoop() {
    for (;;) {
        std::function<void()> job;
        {
            std::unique_lock lock(mutex_);
            wake_.wait(lock, [this] { return quitting_ || job_; });
            if (quitting_) return;
            job = std::exchange(job_, {});
        }
        job();
    }
}

}  // namespace morvane
