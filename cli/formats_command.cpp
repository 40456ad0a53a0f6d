#include "cli/formats_command.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>
#include <string>

#include "formats/card_format.h"

namespace morvane::cli {

namespace {

std::string limitText(std::optional<std::uint64_t> limit) {
    return limit ? std::to_string(*limit) : "-";
}

}  // namespace

// One row per layout, its layout and layout mask on lines of their own under it, so that the
// list fits 100 columns.
int runFormats() {
    std::printf("%-11s %-47s %12s %9s %8s\n", "CODE", "FORMAT", "HOTSTAMP MAX", "FACILITY",
                "VERSION");
    for (const Layout& l : layouts()) {
        const bool selected = findLayout(l.code) == &l;
        const std::string code = std::string(l.code) + (selected ? "" : " (FC 0)");
        std::printf("%-11s %-47s %12s %9s %8s\n", code.c_str(), std::string(l.description).c_str(),
                    std::to_string(l.hotstampLimit).c_str(), limitText(l.facilityLimit).c_str(),
                    limitText(l.versionLimit).c_str());
        std::printf("%-11s layout (leading bit first): %s\n", "", std::string(l.fieldText).c_str());
        if (!l.layoutMask.empty()) {
            std::printf("%-11s layout mask: %s\n", "", std::string(l.layoutMask).c_str());
        }
    }
    std::printf("\nA USB reader sees a Casi card as the 42-bit frame %s.\n",
                std::string(kCasiReaderMask).c_str());
    // A failed flush sets the stream's error indicator too.
    std::fflush(stdout);
    if (std::ferror(stdout) != 0) {
        std::fprintf(stderr, "morvane-cli: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

}  // namespace morvane::cli
