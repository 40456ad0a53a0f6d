#pragma once

#include <string>

// A lock on a pseudo-terminal, for tests and for trying "Read from Lock" without a lock. It
// answers the line protocol of PROTOCOL.md in one of several ways chosen at start.
namespace morvane::sim {

enum class Scenario {
    Answer,       // a card read gets the card data, an identification request the lock info
    Silent,       // never answers
    LockTimeout,  // gives up on the card after its delay and answers TIMEOUT
    Error,        // answers ERROR with the configured number and text
    Garbage,      // answers bytes that are not protocol text
    Endless,      // starts an answer line and never ends it
    HangUp,       // sends half a card answer, then hangs up the line and ends
};

struct SimulatorOptions {
    Scenario scenario = Scenario::Answer;
    std::string cardData = "0000000600400002";
    std::string lockInfo = "Morvane test lock, firmware 1.0";
    int errorCode = 17;
    std::string errorText = "Card not readable";
    int delayMilliseconds = 100;  // before each answer
};

// Opens the pseudo-terminal, writes its device path and a line break to standard output, then
// serves requests, reporting each line received as "received: <line>" on standard output. Ends
// on a signal, when the program that started it ends, or after hanging up; returns the exit
// code.
int runLockSimulator(const SimulatorOptions& options);

}  // namespace morvane::sim
