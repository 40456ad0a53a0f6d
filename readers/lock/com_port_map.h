#pragma once

#include <optional>
#include <string>

// Which serial device stands behind COM port n. A lock is cabled to one of nine ports; on this
// system they are the standard serial lines unless the user points a port elsewhere (a USB
// serial adapter, a pseudo-terminal for the lock simulator) through MORVANE_COM<n>.
namespace morvane {

inline constexpr int kFirstComPort = 1;
inline constexpr int kLastComPort = 9;

// "/dev/ttyS<n-1>", or the absolute path held by MORVANE_COM<n>. A relative or empty value is
// ignored so that a stray setting never makes the program open a file in the current folder.
// Nothing for a number outside 1..9.
std::optional<std::string> comPortDevice(int portNumber);

// "MORVANE_COM<n>".
std::string comPortVariable(int portNumber);

}  // namespace morvane
