#pragma once

#include <chrono>
#include <cstddef>
#include <string>

namespace morvane {

// An invocation string is a few dozen characters; a clipboard text beyond this many bytes is
// none, and is read as no text at all.
inline constexpr std::size_t kMaxClipboardText = 4096;

// A calling program leaves its invocation string before it starts Morvane; an owner that has
// not answered within a second is not one.
inline constexpr std::chrono::milliseconds kStartUpReadWait{1000};

// What the start-up read of the clipboard found. An empty clipboard, one without text and one
// whose text is over the limit were read, and hold no invocation string; a clipboard whose
// owner did not answer in time, or that was never offered to Morvane, was not read, and the
// operator has to be told that a calling program's settings may be missing.
struct ClipboardRead {
    std::string text;  // UTF-8, at most kMaxClipboardText bytes
    bool answered = true;
};

inline ClipboardRead notAnswered() { return {.text = {}, .answered = false}; }

}  // namespace morvane
