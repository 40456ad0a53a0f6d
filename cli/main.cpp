// morvane-cli: the card conversions of the Morvane window, for scripts and batches.
#include <CLI/CLI.hpp>
#include <cstdio>

#include "cli/convert_command.h"
#include "cli/formats_command.h"
#include "cli/split_command.h"
#include "morvane/version.h"
#include "process/standard_streams.h"

int main(int argc, char** argv) {
    if (!morvane::openClosedStandardStreams()) return 1;
    using namespace morvane::cli;
    CLI::App app{"Morvane: prox card data for locks, from the command line."};
    app.name("morvane-cli");
    app.set_version_flag("--version", "morvane-cli " + std::string(MORVANE_VERSION));
    app.require_subcommand(1);

    ConvertOptions convert;
    auto* convertCmd = app.add_subcommand(
        "convert", "Hotstamp numbers to 16-digit octal prox data, one line per hotstamp.");
    convertCmd
        ->add_option("--format", convert.format,
                     "Card format code: 26, 34, 35, 35V, 36V, 37V, 37, Proxif or Casi")
        ->required();
    convertCmd->add_option("--facility", convert.facility, "Facility code (default 0)");
    convertCmd->add_option("--version", convert.version, "Version, for Proxif (default 0)");
    convertCmd->add_flag("--explain", convert.explain,
                         "Under each prox data, its bits and the role of each under the format");
    convertCmd->add_option("HOTSTAMP", convert.hotstamps,
                           "Hotstamp numbers; none or - reads one per line from standard input");

    SplitOptions split;
    auto* splitCmd = app.add_subcommand(
        "split",
        "Card data (octal digits) to hotstamp, facility code and version under every format.");
    splitCmd->add_flag("--json", split.json, "One JSON object per card data, one per line");
    splitCmd->add_flag("--explain", split.explain,
                       "Each format's role letters over the bits (P parity, F facility, I hotstamp, "
                       "V version, S sentinel, 0 or 1 fixed, x must be 0 above the frame, - not "
                       "looked at) and why the format matches or not");
    splitCmd->add_option("CARDDATA", split.cardData,
                         "Card data; none or - reads one per line from standard input");

    auto* formatsCmd = app.add_subcommand("formats", "List the card formats, limits and masks.");

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
