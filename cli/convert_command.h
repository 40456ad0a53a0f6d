#pragma once

#include <string>
#include <vector>

namespace morvane::cli {

struct ConvertOptions {
    std::string format;                  // card format code; empty when not given
    std::string facility = "0";          // also the facility box text for Proxif and Casi
    std::string version = "0";           // the version box text
    bool explain = false;                // the built frame's bit roles under each prox data
    bool csv = false;                    // a header row, then one row per hotstamp
    std::string range;                   // "FROM-TO", converted first; empty when not given
    std::vector<std::string> hotstamps;  // none (without a range), or "-": standard input
};

// Prints one line per hotstamp, exactly what the window's calculation gives; messages go to
// standard error. Returns 0 when every line is prox data, 1 otherwise, 2 for bad options.
int runConvert(const ConvertOptions& options);

}  // namespace morvane::cli
