#include <CLI/CLI.hpp>
#include <map>
#include <string>

#include "readers/lock/sim/lock_simulator.h"

int main(int argc, char** argv) {
    using morvane::sim::Scenario;
    morvane::sim::SimulatorOptions options;

    CLI::App app{
        "Plays a lock on a pseudo-terminal. Prints the terminal's path; point MORVANE_COM<n> at "
        "it and use COM port n. Ends with Ctrl+C."};
    const std::map<std::string, Scenario> scenarios{{"answer", Scenario::Answer},
                                                    {"silent", Scenario::Silent},
                                                    {"lock-timeout", Scenario::LockTimeout},
                                                    {"error", Scenario::Error},
                                                    {"garbage", Scenario::Garbage},
                                                    {"endless", Scenario::Endless},
                                                    {"hangup", Scenario::HangUp}};
    std::string scenario = "answer";
    app.add_option("scenario", scenario, "How the lock answers (PROTOCOL.md)")
        ->check(CLI::IsMember(scenarios))
        ->capture_default_str();
    app.add_option("--card", options.cardData, "Card data a card read answers")
        ->capture_default_str();
    app.add_option("--info", options.lockInfo, "Text an identification request answers")
        ->capture_default_str();
    app.add_option("--error-code", options.errorCode, "Error number of the error scenario")
        ->check(CLI::Range(0, 9999))
        ->capture_default_str();
    app.add_option("--error-text", options.errorText, "Error text of the error scenario")
        ->capture_default_str();
    app.add_option("--delay", options.delayMilliseconds, "Milliseconds before each answer")
        ->check(CLI::Range(0, 600000))
        ->capture_default_str();
    CLI11_PARSE(app, argc, argv);
    options.scenario = scenarios.at(scenario);

    return morvane::sim::runLockSimulator(options);
}
