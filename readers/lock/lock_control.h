#pragma once

#include <cstdint>
#include <string>

// What "Read from Lock" asks of the component that talks to a lock. The window only sets a port
// and a wait value, starts a request and compares the status it gets with the component's four
// status values, which it reads afresh at every comparison and never assumes numbers for.
namespace morvane {

class LockControl {
  public:
    virtual ~LockControl() = default;

    virtual void setPort(std::int16_t port) = 0;
    // Milliseconds the next request may take before it ends with the time-out status.
    virtual void setWaitValue(std::int16_t waitValue) = 0;

    // Both block until the lock answered, the wait ran out, the request was cancelled or the
    // line failed, and give one of the four status values below (or, from another component,
    // any other number).
    virtual std::int32_t readCard() = 0;
    // The Shift form of the click: asks the lock for its identification.
    virtual std::int32_t readLockInfo() = 0;

    virtual std::int32_t statusSuccess() const = 0;
    virtual std::int32_t statusCancelled() const = 0;
    virtual std::int32_t statusTimeout() const = 0;
    virtual std::int32_t statusError() const = 0;

    virtual std::string cardData() const = 0;  // of the last card read
    virtual std::string lockInfo() const = 0;  // of the last identification request
    virtual std::int32_t errorKind() const = 0;
    virtual std::string errorDescription() const = 0;

    // The Ctrl form of the click: a text about the component and its ports, then a reset that
    // forgets the last results. Neither needs a port.
    virtual std::string aboutText() const = 0;
    virtual void reset() = 0;
};

// Error kinds of the lock component; the window tells kind 2 apart from the rest.
enum class LockErrorKind : std::int32_t {
    None = 0,
    LockReported = 1,  // the lock answered with an error of its own
    PortOpen = 2,      // the COM port could not be opened (or does not exist)
    LineLost = 3,      // the port failed or the lock hung up during the request
    BadAnswer = 4,     // the answer broke the line protocol
    Busy = 5,          // a request was started while another one was waiting
    BadWaitValue = 6,  // a wait value below 1 ms
};

}  // namespace morvane
