#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace morvane {

// True when COM port PortNumber could be opened for reading and writing just now. The port is
// closed again at once and nothing is ever sent on it, so probing is safe with any device
// cabled to it. False for numbers outside 1..9.
bool CheckComPort(std::int16_t PortNumber);

// How the port list asks whether a port is free; CheckComPort unless a test stands in.
using ComPortProbe = std::function<bool(std::int16_t)>;

// The texts "1" to "9" of the ports the probe could open, in increasing order.
std::vector<std::string> openableComPorts(const ComPortProbe& probe = CheckComPort);

}  // namespace morvane
