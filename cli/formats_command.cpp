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

int runFormats() {
    std::printf("%-10s %-47s %-48s %12s %9s %8s  %s\n", "CODE", "FORMAT",
                "LAYOUT (LEADING BIT FIRST)", "HOTSTAMP MAX", "FACILITY", "VERSION", "LAYOUT MASK");
    for (const Layout& l : layouts()) {
        std::string mask(l.layoutMask.empty() ? "-" : l.layoutMask);
        if (l.id == LayoutId::Casi) mask = std::string(kCasiReaderMask) + " (as a reader sees it)";
        const std::string code =
            l.id == LayoutId::F37NFC ? std::string(l.code) + " (FC 0)" : std::string(l.code);
        std::printf("%-10s %-47s %-48s %12s %9s %8s  %s\n", code.c_str(),
                    std::string(l.description).c_str(), std::string(l.fieldText).c_str(),
                    std::to_string(l.hotstampLimit).c_str(), limitText(l.facilityLimit).c_str(),
                    limitText(l.versionLimit).c_str(), mask.c_str());
    }
    // A failed flush sets the stream's error indicator too.
    std::fflush(stdout);
    if (std::ferror(stdout) != 0) {
        std::fprintf(stderr, "morvane-cli: cannot write the output: %s\n", std::strerror(errno));
        return 1;
    }
    return 0;
}

}  // namespace morvane::cli
