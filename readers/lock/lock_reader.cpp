#include "readers/lock/lock_reader.h"

#include <QEventLoop>
#include <QSerialPort>
#include <QTimer>

#include "readers/lock/com_port_map.h"

namespace morvane {
namespace {

// Long enough for a few bytes on any line, short enough that the window hardly notices.
constexpr int kCancelWriteMilliseconds = 200;

std::string portName(int port) { return "COM port " + std::to_string(port); }

// The port's own error text is unreliable here (a hung-up line reads as end of data and leaves
// a stale system error behind), and whether a hang-up shows as a read error or as a vanished
// device depends on timing, so both say the same.
std::string lineLostReason(QSerialPort::SerialPortError error, const QString& detail) {
    switch (error) {
        case QSerialPort::ResourceError:
        case QSerialPort::ReadError:
            return "the lock hung up or the device was removed";
        case QSerialPort::WriteError:
            return "the port could not be written to";
        default:
            return "the port failed (" + detail.toStdString() + ")";
    }
}

}  // namespace

struct LockReader::Waiting {
    enum class Outcome { Pending, Answered, TimedOut, Cancelled, LineLost, BadAnswer };

    QEventLoop loop;
    Outcome outcome = Outcome::Pending;
    std::string lineError;
    bool readerDestroyed = false;

    void end(Outcome how) {
        if (outcome != Outcome::Pending) return;
        outcome = how;
        loop.quit();
    }
    // Without an answer on a line that still works, the lock may still be looking for a card.
    bool lockMayStillLook() const {
        return outcome != Outcome::Answered && outcome != Outcome::LineLost;
    }
    void lineLost(const QSerialPort& serial) {
        lineError = lineLostReason(serial.error(), serial.errorString());
        end(Outcome::LineLost);
    }
};

LockReader::LockReader(QObject* parent) : QObject(parent) {}

LockReader::~LockReader() {
    // Destroyed from inside its own wait: let the waiting call unwind without touching us.
    if (waiting_ != nullptr) {
        waiting_->readerDestroyed = true;
        waiting_->end(Waiting::Outcome::Cancelled);
    }
}

std::int32_t LockReader::readCard() { return request(LockRequest::ReadCard); }
std::int32_t LockReader::readLockInfo() { return request(LockRequest::LockInfo); }

void LockReader::cancel() {
    if (waiting_ != nullptr) waiting_->end(Waiting::Outcome::Cancelled);
}

void LockReader::reset() {
    cardData_.clear();
    lockInfo_.clear();
    errorKind_ = LockErrorKind::None;
    errorDescription_.clear();
}

std::string LockReader::aboutText() const {
    std::string text = "Morvane lock reader, line protocol 1 (9600 baud, 8N1).\n";
    for (int n = kFirstComPort; n <= kLastComPort; ++n) {
        text += "COM" + std::to_string(n) + ": " + comPortDevice(n).value_or("") + "\n";
    }
    text += "Set MORVANE_COM1 to MORVANE_COM9 to an absolute device path to use another device.";
    return text;
}

std::int32_t LockReader::fail(LockErrorKind kind, std::string description) {
    errorKind_ = kind;
    errorDescription_ = std::move(description);
    return kError;
}

std::int32_t LockReader::request(LockRequest kind) {
    if (waiting_ != nullptr) {
        // Only reachable when the window lets input through while a request waits; the running
        // request keeps its own results.
        errorKind_ = LockErrorKind::Busy;
        errorDescription_ = "The lock is still busy with the previous request.";
        return kError;
    }
    (kind == LockRequest::ReadCard ? cardData_ : lockInfo_).clear();
    errorKind_ = LockErrorKind::None;
    errorDescription_.clear();

    const auto device = comPortDevice(port_);
    if (!device) {
        return fail(LockErrorKind::PortOpen,
                    "There is no " + portName(port_) + "; the ports are numbered 1 to 9.");
    }
    if (waitValue_ < 1) {
        return fail(LockErrorKind::BadWaitValue,
                    "The wait value " + std::to_string(waitValue_) + " is not a time to wait.");
    }
    QSerialPort serial;
    if (!openLine(serial, *device)) {
        return fail(LockErrorKind::PortOpen, "Could not open " + portName(port_) + " (" + *device +
                                                 "): " + serial.errorString().toStdString() + ".");
    }
    Waiting waiting;
    AnswerReader reader(kind);
    exchange(serial, requestLine(kind, waitValue_), reader, waiting);
    closeLine(serial, waiting.lockMayStillLook());
    // Destroyed while it waited: nothing of this reader may be touched any more.
    if (waiting.readerDestroyed) return kCancelled;
    return outcomeStatus(waiting, reader);
}

bool LockReader::openLine(QSerialPort& serial, const std::string& device) {
    serial.setPortName(QString::fromStdString(device));
    serial.setBaudRate(QSerialPort::Baud9600);
    serial.setDataBits(QSerialPort::Data8);
    serial.setParity(QSerialPort::NoParity);
    serial.setStopBits(QSerialPort::OneStop);
    serial.setFlowControl(QSerialPort::NoFlowControl);
    if (!serial.open(QIODevice::ReadWrite)) return false;
    // Whatever the lock sent while nobody listened belongs to no request of ours.
    serial.clear();
    return true;
}

// Sends the request and waits, painting, until the answer, the deadline, a cancel or a line
// failure ends the wait.
void LockReader::exchange(QSerialPort& serial, const std::string& line, AnswerReader& reader,
                          Waiting& waiting) {
    QTimer deadline;
    deadline.setSingleShot(true);
    deadline.setTimerType(Qt::PreciseTimer);
    QObject::connect(&deadline, &QTimer::timeout, &waiting.loop,
                     [&] { waiting.end(Waiting::Outcome::TimedOut); });
    QObject::connect(&serial, &QSerialPort::readyRead, &waiting.loop, [&] {
        const QByteArray bytes = serial.readAll();
        reader.feed(std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        if (reader.answer()) waiting.end(Waiting::Outcome::Answered);
        if (reader.fault()) waiting.end(Waiting::Outcome::BadAnswer);
    });
    QObject::connect(&serial, &QSerialPort::errorOccurred, &waiting.loop,
                     [&](QSerialPort::SerialPortError error) {
                         if (error != QSerialPort::NoError) waiting.lineLost(serial);
                     });
    waiting_ = &waiting;
    deadline.start(waitValue_);
    if (serial.write(line.data(), static_cast<qint64>(line.size())) < 0) waiting.lineLost(serial);
    if (waiting.outcome == Waiting::Outcome::Pending) waiting.loop.exec();
    // Still pending: the application is quitting and ended every event loop.
    waiting.end(Waiting::Outcome::Cancelled);
    if (!waiting.readerDestroyed) waiting_ = nullptr;
    serial.disconnect();
}

void LockReader::closeLine(QSerialPort& serial, bool lockMayStillLook) {
    if (lockMayStillLook) {
        serial.write(kCancelLine.data(), static_cast<qint64>(kCancelLine.size()));
        serial.waitForBytesWritten(kCancelWriteMilliseconds);
    }
    serial.close();
}

std::int32_t LockReader::outcomeStatus(const Waiting& waiting, const AnswerReader& reader) {
    using Outcome = Waiting::Outcome;
    switch (waiting.outcome) {
        case Outcome::Cancelled:
            return kCancelled;
        case Outcome::TimedOut:
            return kTimeout;
        case Outcome::LineLost:
            return fail(LockErrorKind::LineLost, "The connection to the lock on " +
                                                     portName(port_) +
                                                     " was lost: " + waiting.lineError + ".");
        case Outcome::BadAnswer:
            return fail(LockErrorKind::BadAnswer, *reader.fault());
        case Outcome::Pending:
        case Outcome::Answered:
            break;
    }
    return answerStatus(*reader.answer());
}

std::int32_t LockReader::answerStatus(const LockAnswer& answer) {
    switch (answer.kind) {
        case LockAnswer::Kind::Card:
            cardData_ = answer.text;
            return kSuccess;
        case LockAnswer::Kind::Info:
            lockInfo_ = answer.text;
            return kSuccess;
        case LockAnswer::Kind::Timeout:
            return kTimeout;
        case LockAnswer::Kind::Error:
            return fail(LockErrorKind::LockReported,
                        "The lock reported error " + std::to_string(answer.errorCode) +
                            (answer.text.empty() ? std::string(".") : ": " + answer.text));
    }
    return kError;
}

}  // namespace morvane
