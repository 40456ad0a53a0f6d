#include "lock_test_support.h"

#include <fcntl.h>
#include <poll.h>
#include <stdlib.h>
#include <unistd.h>

#include <QDeadlineTimer>
#include <algorithm>
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

PseudoTerminal::PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        throw std::runtime_error("no pseudo-terminal");
    }
    device_ = ptsname(master_);
}

PseudoTerminal::~PseudoTerminal() { close(master_); }

std::string PseudoTerminal::pendingBytes() {
    std::string bytes;
    char buffer[256];
    for (ssize_t n; (n = read(master_, buffer, sizeof buffer)) > 0;) {
        bytes.append(buffer, static_cast<std::size_t>(n));
    }
    return bytes;
}

bool PseudoTerminal::send(const std::string& bytes) {
    return write(master_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
}

SimulatedLock::SimulatedLock(const std::vector<std::string>& arguments) {
    QStringList list;
    for (const auto& a : arguments) list << QString::fromStdString(a);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start(QStringLiteral(MORVANE_LOCK_SIM), list);
    if (!process_.waitForStarted(5000)) throw std::runtime_error("lock simulator did not start");
    const QDeadlineTimer deadline(5000);
    while (!process_.canReadLine() && !deadline.hasExpired()) {
        process_.waitForReadyRead(static_cast<int>(std::max<qint64>(1, deadline.remainingTime())));
    }
    if (!process_.canReadLine()) throw std::runtime_error("lock simulator gave no device");
    device_ = process_.readLine().trimmed().toStdString();
}

SimulatedLock::~SimulatedLock() {
    process_.kill();
    process_.waitForFinished(3000);
}

void SimulatedLock::collect(int milliseconds) {
    if (process_.state() == QProcess::Running && process_.bytesAvailable() == 0) {
        process_.waitForReadyRead(milliseconds);
    }
    partial_ += process_.readAll().toStdString();
    for (std::size_t end; (end = partial_.find('\n')) != std::string::npos;) {
        reports_.push_back(partial_.substr(0, end));
        partial_.erase(0, end + 1);
    }
}

bool SimulatedLock::waitForReport(const std::string& line, int milliseconds) {
    const QDeadlineTimer deadline(milliseconds);
    for (;;) {
        if (std::find(reports_.begin(), reports_.end(), line) != reports_.end()) return true;
        if (deadline.hasExpired()) return false;
        collect(static_cast<int>(std::clamp<qint64>(deadline.remainingTime(), 1, 100)));
    }
}

const std::vector<std::string>& SimulatedLock::reports() {
    collect(0);
    return reports_;
}

}  // namespace morvane::test
