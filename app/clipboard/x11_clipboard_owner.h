#pragma once

#include <chrono>
#include <string>

namespace morvane {

// Owns the X11 CLIPBOARD selection with `text` and answers every program that asks for it, until
// another program takes the clipboard, the X server goes away, or `lifetime` runs out. Once it
// owns the selection it writes its process id and a line feed to `readyFd` and closes it; on
// failure it closes `readyFd` without writing. Returns the process exit status to use.
int holdX11Clipboard(const std::string& text, int readyFd, std::chrono::seconds lifetime);

}  // namespace morvane
