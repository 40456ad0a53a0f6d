#include "readers/lock/com_port_check.h"

#include <QSerialPort>
#include <QString>

#include "readers/lock/com_port_map.h"

namespace morvane {

bool CheckComPort(std::int16_t PortNumber) {
    const auto device = comPortDevice(PortNumber);
    if (!device) return false;
    QSerialPort port;
    port.setPortName(QString::fromStdString(*device));
    const bool opened = port.open(QIODevice::ReadWrite);
    if (port.isOpen()) port.close();
    return opened;
}

std::vector<std::string> openableComPorts(const ComPortProbe& probe) {
    std::vector<std::string> ports;
    for (int n = kFirstComPort; n <= kLastComPort; ++n) {
        if (probe(static_cast<std::int16_t>(n))) ports.push_back(std::to_string(n));
    }
    return ports;
}

}  // namespace morvane
