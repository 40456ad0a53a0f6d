#pragma once

#include <QProcess>
#include <optional>
#include <string>
#include <vector>

// Test stand-ins for the COM ports: every port points nowhere unless a test gives it a
// pseudo-terminal, so no test can reach a real serial line.
namespace morvane::test {

// "/nonexistent/morvane-test/com<n>": absolute, so it is used, and never there.
std::string nowhere(int port);
void pointAllComPortsNowhere();

// Points MORVANE_COM<n> at a device (or unsets it) for one scope, then back to nowhere.
class ScopedComPort {
  public:
    ScopedComPort(int port, const std::optional<std::string>& device);
    ~ScopedComPort();
    ScopedComPort(const ScopedComPort&) = delete;
    ScopedComPort& operator=(const ScopedComPort&) = delete;

  private:
    int port_;
};

// The lock simulator running as its own process on a pseudo-terminal.
class SimulatedLock {
  public:
    explicit SimulatedLock(const std::vector<std::string>& arguments);
    ~SimulatedLock();
    SimulatedLock(const SimulatedLock&) = delete;
    SimulatedLock& operator=(const SimulatedLock&) = delete;

    const std::string& device() const { return device_; }
    // The next `count` request lines the simulator reports as received; fewer when they do not
    // come within three seconds.
    std::vector<std::string> received(std::size_t count);

  private:
    QProcess process_;
    std::string device_;
};

}  // namespace morvane::test
