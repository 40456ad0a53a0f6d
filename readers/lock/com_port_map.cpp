#include "readers/lock/com_port_map.h"

#include <cstdlib>

namespace morvane {

std::string comPortVariable(int portNumber) { return "MORVANE_COM" + std::to_string(portNumber); }

std::optional<std::string> comPortDevice(int portNumber) {
    if (portNumber < kFirstComPort || portNumber > kLastComPort) return std::nullopt;
    if (const char* chosen = std::getenv(comPortVariable(portNumber).c_str());
        chosen != nullptr && chosen[0] == '/') {
        return std::string(chosen);
    }
    return "/dev/ttyS" + std::to_string(portNumber - 1);
}

}  // namespace morvane
