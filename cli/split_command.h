#pragma once

#include <string>
#include <vector>

namespace morvane::cli {

struct SplitOptions {
    bool json = false;
    bool csv = false;                   // a header row, then one row per card data
    bool explain = false;               // each format's bit roles and verdict as well
    std::string facilities;             // the site's facilities file; empty when none is given
    std::vector<std::string> cardData;  // none, or "-": one per line from standard input
};

// Splits each card data under every card format, as the Split Data page shows it: a block
// with a result table per card data, one JSON object per line, or CSV rows. Returns 0 when at least
// one format matched every card data, 1 otherwise.
int runSplit(const SplitOptions& options);

}  // namespace morvane::cli
