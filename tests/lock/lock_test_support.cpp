#include "lock_test_support.h"

#include <stdlib.h>

#include <QDeadlineTimer>
#include <stdexcept>

#include "readers/lock/com_port_map.h"

namespace morvane::test {

std::string nowhere(int port) { return "/nonexistent/morvane-test/com" + std::to_string(port); }

void pointAllComPortsNowhere() {
    for (int n = kFirstComPort; n <= kLastComPort; ++n) {
        setenv(comPortVariable(n).c_str(), nowhere(n).c_str(), 1);
    }
}

ScopedComPort::ScopedComPort(int port, const std::optional<std::string>& device) : port_(port) {
    if (device) {
        setenv(comPortVariable(port).c_str(), device->c_str(), 1);
    } else {
        unsetenv(comPortVariable(port).c_str());
    }
}

ScopedComPort::~ScopedComPort() {
    setenv(comPortVariable(port_).c_str(), nowhere(port_).c_str(), 1);
}

SimulatedLock::SimulatedLock(const std::vector<std::string>& arguments) {
    QStringList list;
    for (const auto& a : arguments) list << QString::fromStdString(a);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(MORVANE_LOCK_SIM), list);
    const QDeadlineTimer deadline(5000);
    while (!process_.canReadLine() &&
           process_.waitForReadyRead(static_cast<int>(deadline.remainingTime()))) {
    }
    if (!process_.canReadLine()) throw std::runtime_error("lock simulator gave no device");
    device_ = process_.readLine().trimmed().toStdString();
}

SimulatedLock::~SimulatedLock() {
    process_.kill();
    process_.waitForFinished(3000);
}

std::vector<std::string> SimulatedLock::received(std::size_t count) {
    std::vector<std::string> lines;
    const QDeadlineTimer deadline(3000);
    while (lines.size() < count && !deadline.hasExpired()) {
        if (!process_.canReadLine()) {
            if (!process_.waitForReadyRead(50) && process_.state() != QProcess::Running) break;
            continue;
        }
        const std::string line = process_.readLine().trimmed().toStdString();
        if (line.starts_with("received: ")) lines.push_back(line.substr(10));
    }
    return lines;
}

}  // namespace morvane::test
