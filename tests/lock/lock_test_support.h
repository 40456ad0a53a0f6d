#pragma once

#include <stdlib.h>

#include <QDeadlineTimer>
#include <QProcess>
#include <optional>
#include <stdexcept>

#include "readers/lock/com_port_map.h"

// Test stand-ins for the COM ports: every port points nowhere unless a test gives it a
// simulated lock, so no test can reach a real serial line.
namespace morvane::test {

// "/nonexistent/morvane-test/com<n>": absolute, so it is used, and never there.
inline std::string nowhere(int port) {
    return "/nonexistent/morvane-test/com" + std::to_string(port);
}

inline void pointAllComPortsNowhere() {
    for (int n = kFirstComPort; n <= kLastComPort; ++n) {
        setenv(comPortVariable(n).c_str(), nowhere(n).c_str(), 1);
    }
}

// Points MORVANE_COM<n> at a device (or unsets it) for one scope, then back to nowhere.
struct ScopedComPort {
    ScopedComPort(int port, const std::optional<std::string>& device) : port(port) {
        device ? setenv(comPortVariable(port).c_str(), device->c_str(), 1)
               : unsetenv(comPortVariable(port).c_str());
    }
    ~ScopedComPort() { setenv(comPortVariable(port).c_str(), nowhere(port).c_str(), 1); }
    ScopedComPort(const ScopedComPort&) = delete;
    const int port;
};

// The lock simulator running as its own process on a pseudo-terminal.
class SimulatedLock {
  public:
    explicit SimulatedLock(const std::vector<std::string>& arguments) {
        QStringList list;
        for (const auto& a : arguments) list << QString::fromStdString(a);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.start(QStringLiteral(MORVANE_LOCK_SIM), list);
        if (!waitForLine(QDeadlineTimer(5000)))
            throw std::runtime_error("lock simulator gave no device");
        device_ = process_.readLine().trimmed().toStdString();
    }
    ~SimulatedLock() {
        process_.kill();
        process_.waitForFinished(3000);
    }

    const std::string& device() const { return device_; }

    // The next `count` request lines the simulator reports as received; fewer when they do not
    // come within three seconds.
    std::vector<std::string> received(std::size_t count) {
        std::vector<std::string> lines;
        const QDeadlineTimer deadline(3000);
        while (lines.size() < count && waitForLine(deadline)) {
            const std::string line = process_.readLine().trimmed().toStdString();
            if (line.starts_with("received: ")) lines.push_back(line.substr(10));
        }
        return lines;
    }

  private:
    bool waitForLine(const QDeadlineTimer& deadline) {
        while (!process_.canReadLine() &&
               process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
        }
        return process_.canReadLine();
    }

    QProcess process_;
    std::string device_;
};

}  // namespace morvane::test
