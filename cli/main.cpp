// morvane-cli: the card conversions of the Morvane window, for scripts and batches.
#include <CLI/CLI.hpp>
#include <cstdio>
#include <string_view>

#include "cli/convert_command.h"
#include "cli/formats_command.h"
#include "cli/split_command.h"
#include "formats/card_format.h"
#include "morvane/version.h"
#include "process/standard_streams.h"

namespace {

// The card format codes the command line takes, in any case: "proxif" is "Proxif".
std::vector<std::string> formatCodes() {
    std::vector<std::string> codes;
    for (const morvane::Layout& l : morvane::layouts()) {
        if (morvane::findLayout(l.code) == &l) codes.emplace_back(l.code);
    }
    return codes;
}

// Before the subcommand only --help and --version can stand, so the first other word names it.
bool unknownSubcommand(int argc, char** argv) {
    for (int i = 1; i < argc; ++i) {
        const std::string_view word = argv[i];
        if (word.starts_with('-')) continue;
        if (word == "convert" || word == "split" || word == "formats") return false;
        std::fprintf(stderr,
                     "morvane-cli: unknown subcommand \"%s\"; the subcommands are convert, split "
                     "and formats\nRun with --help for more information.\n",
                     argv[i]);
        return true;
    }
    return false;
}

CLI::App* addConvert(CLI::App& app, morvane::cli::ConvertOptions& convert) {
    auto* cmd = app.add_subcommand(
        "convert", "Hotstamp numbers to 16-digit octal prox data, one line per hotstamp.");
    cmd->add_option("--format", convert.format, "Card format code, in any case")
        ->required()
        ->transform(CLI::IsMember(formatCodes(), CLI::ignore_case));
    cmd->add_option("--facility", convert.facility, "Facility code (default 0)");
    cmd->add_option("--version", convert.version, "Version, for Proxif (default 0)");
    cmd->add_flag("--explain", convert.explain,
                  "Under each prox data, its bits and the role of each under the format");
    cmd->add_flag("--csv", convert.csv,
                  "A header row, then hotstamp, format, facility, version, prox data and "
                  "message per hotstamp");
    cmd->add_option("--range", convert.range,
                    "Hotstamps FROM-TO, both included, at most 1000000, before any arguments; "
                    "standard input is then read only for -");
    cmd->add_option("HOTSTAMP", convert.hotstamps,
                    "Hotstamp numbers; none (without --range) or - reads one per line from "
                    "standard input");
    return cmd;
}

CLI::App* addSplit(CLI::App& app, morvane::cli::SplitOptions& split) {
    auto* cmd = app.add_subcommand(
        "split",
        "Card data (octal digits) to hotstamp, facility code and version under every format.");
    auto* json = cmd->add_flag("--json", split.json, "One JSON object per card data, one per line");
    auto* csv = cmd->add_flag("--csv", split.csv, "A header row, then one row per card data")
                    ->excludes(json);
    cmd->add_flag("--explain", split.explain,
                  "Each format's role letters over the bits (P parity, F facility, I hotstamp, "
                  "V version, S sentinel, 0 or 1 fixed, x must be 0 above the frame, - not "
                  "looked at) and why the format matches or not")
        ->excludes(csv);
    cmd->add_option("--facilities", split.facilities,
                    "The site's facilities file: a facility code and a card format code per line; "
                    "formats whose facility code it lists rank higher");
    cmd->add_option("CARDDATA", split.cardData,
                    "Card data; none or - reads one per line from standard input");
    return cmd;
}

}  // namespace

int main(int argc, char** argv) {
    if (!morvane::openClosedStandardStreams()) return 1;
    using namespace morvane::cli;
    CLI::App app{"Morvane: prox card data for locks, from the command line."};
    app.name("morvane-cli");
    app.set_version_flag("--version", "morvane-cli " + std::string(MORVANE_VERSION));
    app.require_subcommand(1);
    ConvertOptions convert;
    SplitOptions split;
    auto* convertCmd = addConvert(app, convert);
    auto* splitCmd = addSplit(app, split);
    auto* formatsCmd = app.add_subcommand("formats", "List the card formats, limits and masks.");

    if (unknownSubcommand(argc, argv)) return 2;
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& e) {
        app.exit(e);  // the help, the version or the usage error, on its own stream
        return e.get_exit_code() == 0 ? 0 : 2;
    }
    if (*convertCmd) return runConvert(convert);
    if (*splitCmd) return runSplit(split);
    if (*formatsCmd) return runFormats();
    return 2;
}
