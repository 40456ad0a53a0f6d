#pragma once

#include <QObject>
#include <cstdint>
#include <string>

#include "readers/lock/lock_control.h"
#include "readers/lock/lock_protocol.h"

class QSerialPort;

// Reads a card (or the lock's identification) from a lock cabled to a COM port. A request opens
// the port, sends one line, waits in a local event loop so that the window keeps painting, and
// closes the port again. Needs a QCoreApplication; everything runs on its thread.
namespace morvane {

class LockReader final : public QObject, public LockControl {
    Q_OBJECT

  public:
    explicit LockReader(QObject* parent = nullptr);
    ~LockReader() override;

    void setPort(std::int16_t port) override { port_ = port; }
    void setWaitValue(std::int16_t waitValue) override { waitValue_ = waitValue; }

    std::int32_t readCard() override;
    std::int32_t readLockInfo() override;

    std::int32_t statusSuccess() const override { return kSuccess; }
    std::int32_t statusCancelled() const override { return kCancelled; }
    std::int32_t statusTimeout() const override { return kTimeout; }
    std::int32_t statusError() const override { return kError; }

    std::string cardData() const override { return cardData_; }
    std::string lockInfo() const override { return lockInfo_; }
    std::int32_t errorKind() const override { return static_cast<std::int32_t>(errorKind_); }
    std::string errorDescription() const override { return errorDescription_; }

    std::string aboutText() const override;
    void reset() override;

    // True while a request waits for the lock.
    bool isBusy() const { return waiting_ != nullptr; }

  public slots:
    // Ends the waiting request with the cancelled status and tells the lock to stop looking for
    // a card. Does nothing when no request waits.
    void cancel();

  private:
    struct Waiting;

    std::int32_t request(LockRequest kind);
    static bool openLine(QSerialPort& serial, const std::string& device);
    void exchange(QSerialPort& serial, const std::string& line, AnswerReader& reader,
                  Waiting& waiting);
    static void closeLine(QSerialPort& serial, bool lockMayStillLook);
    std::int32_t outcomeStatus(const Waiting& waiting, const AnswerReader& reader);
    std::int32_t answerStatus(const LockAnswer& answer);
    std::int32_t fail(LockErrorKind kind, std::string description);

    static constexpr std::int32_t kSuccess = 1;
    static constexpr std::int32_t kCancelled = 2;
    static constexpr std::int32_t kTimeout = 3;
    static constexpr std::int32_t kError = 4;

    std::int16_t port_ = 0;
    std::int16_t waitValue_ = 0;
    std::string cardData_;
    std::string lockInfo_;
    LockErrorKind errorKind_ = LockErrorKind::None;
    std::string errorDescription_;
    Waiting* waiting_ = nullptr;
};

}  // namespace morvane
