#pragma once

#include <QObject>
#include <QTimer>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "readers/luid_list.h"
#include "readers/usb_readers.h"

// The USB reader steps ("Reinitialize USB", the start-up search, "Read from USB") run on a
// thread of their own, so that a slow or stuck reader library never freezes the window.
namespace morvane {

// A healthy step takes well under a second; a whole step that has not ended by then has a
// library too slow to trust, and the operator gets the window's answer back.
inline constexpr std::chrono::milliseconds kReaderStepDeadline{5000};

// What "Reinitialize USB" (and the start-up search) leaves for the window.
struct ReinitializeOutcome {
    bool readerFound = false;
    std::string luidEntry;  // what is left of the hidden LuidEntry text
    LuidList luidList;
};

// A box the card read shows: critical with its own title, or the program's ordinary box.
struct CardReadMessage {
    std::string text;
    std::string title;  // empty: the ordinary box
    bool operator==(const CardReadMessage&) const = default;
};

// What "Read from USB" leaves for the window: the boxes to show, in order, then txtData, and
// the card's bit count as the reader gave it (0: no card).
struct CardReadOutcome {
    std::vector<CardReadMessage> messages;
    std::string cardData;
    int bitCount = 0;
};

class AbandonableLibrary;

// Owns the readers and runs one step at a time on one worker thread. A step that misses the
// deadline ends as a failed step does (no reader found; "No Data Read from Card"), its late work
// is abandoned between library calls and its late answer never reaches the window. Outcomes
// are signalled on the thread that owns this object.
class ReaderSteps : public QObject {
    Q_OBJECT

  public:
    // Without a library (null) no reader is ever found.
    ReaderSteps(std::unique_ptr<ReaderLibrary> library, std::filesystem::path programFolder,
                std::chrono::milliseconds deadline = kReaderStepDeadline,
                QObject* parent = nullptr);
    // Ends a running step at once, without waiting out the library; its outcome is dropped.
    ~ReaderSteps() override;
    ReaderSteps(const ReaderSteps&) = delete;
    ReaderSteps& operator=(const ReaderSteps&) = delete;

    // True from a step's start until its worker has let go of the readers (after its outcome).
    bool busy() const { return busy_; }

    // Each starts its step and gives true, or gives false and starts nothing while one runs.
    bool reinitialize(std::string luidEntry);
    bool readCard();

  signals:
    void reinitialized(const ReinitializeOutcome& outcome);
    void cardRead(const CardReadOutcome& outcome);
    // The step has ended and another may start.
    void idle();

  private:
    using Delivery = std::function<void()>;  // emits an outcome on the owner's thread
    bool start(std::function<Delivery()> work, Delivery failed);
    void finish(const Delivery& deliver);
    void missDeadline();
    void workerLoop();

    AbandonableLibrary* library_ = nullptr;  // owned by readers_
    UsbReaders readers_;                     // touched by the worker only
    QTimer deadline_;
    bool busy_ = false;
    bool delivered_ = false;
    Delivery failed_;

    std::mutex mutex_;
    std::condition_variable wake_;
    std::function<void()> job_;
    bool quitting_ = false;
    std::thread worker_;
};

}  // namespace morvane
