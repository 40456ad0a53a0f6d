#include <gtest/gtest.h>

#include <string>

#include "support/run_process.h"

namespace morvane::test {
namespace {

TEST(CliExplain, PutsEachFormatsRolesUnderTheBitsAndLeavesTheJsonMembersAsTheyWere) {
    const auto text = runProcess(MORVANE_CLI, {"split", "--explain", "0000000600400003"});
    EXPECT_EQ(text.exitCode, 0);
    EXPECT_EQ(text.out.substr(0, text.out.find("Format ")), R"(Card Data: "0000000600400003"
Bit Data:  000000000000000000000110000000100000000000000011
26 Bit     xxxxxxxxxxxxxxxxxxxxxSPFFFFFFFFIIIIIIIIIIIIIIIIP  fails: parity bit 0 is 1 but must make bits 12..0 odd
34 Bit     xxxxxxxxxxxxxSPFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIIP  fails: sentinel bit 34 is 0
35 Bit     ------------SPPFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIIP  fails: sentinel bit 35 is 0
35 Bit V   xxxxxxxxxxxxSP0FFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIIP  fails: sentinel bit 35 is 0
36 Bit V   xxxxxxxxxxxxPFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIII1P  passes: Hotstamp No.: 32768, Facility Code: 12
37 Bit V   xxxxxxxxxxxPFFFFFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIP  passes: Hotstamp No.: 65537, Facility Code: 96
37 Bit     xxxxxxxxxxxPFFFFFFFFFFFFFFFFIIIIIIIIIIIIIIIIIIIP  passes: Hotstamp No.: 65537, Facility Code: 96, No Facility: 50397185
Proxif     xxxxxxxxxVVVFFFFFFFFFFFFFFF0IIIIIIIIIIIIIIIIIIII  passes: Hotstamp No.: 131075, Facility Code: 48, Version: 0
Casi       xxxxFFFFFFFF0000IIIIIIIIIIIIIIIIIIIIIIIIIIIIIIII  passes: Hotstamp No.: 100794371, Facility Code: 0
)");

    const auto plain = runProcess(MORVANE_CLI, {"split", "--json", "0000000600400003", "x"});
    const auto json =
        runProcess(MORVANE_CLI, {"split", "--json", "--explain", "0000000600400003", "x"});
    const std::size_t firstEnd = plain.out.find('\n');
    const std::string head =
        plain.out.substr(0, firstEnd - 1) +
        R"(,"explain":{"26":{"heading":"26 Bit","roles":"xxxxxxxxxxxxxxxxxxxxxSPFFFFFFFFIIIIIIIIIIIIIIIIP","passes":false,"verdict":"parity bit 0 is 1 but must make bits 12..0 odd","failing_bits":[0]},"34":)";
    EXPECT_EQ(json.out.substr(0, head.size()), head);
    EXPECT_EQ(
        json.out.substr(json.out.find('\n') + 1),
        plain.out.substr(firstEnd + 1, plain.out.size() - firstEnd - 3) + ",\"explain\":{}}\n");

    const auto built = runProcess(
        MORVANE_CLI, {"convert", "--explain", "--format", "37", "--facility", "0", "12345", "x"});
    EXPECT_EQ(built.out, R"(0000000000060163
Bit Data:  000000000000000000000000000000000110000001110011
37         xxxxxxxxxxxPIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIIP  passes: Hotstamp No.: 12345

)");
}

}  // namespace
}  // namespace morvane::test
