#include <gtest/gtest.h>

#include "sim_fixture.h"

namespace morvane::test {
namespace {

// Line k of numberedConfig() holds 100 + k; line 20 replaces line 18 and Flags2 4 follows
// Flags2 3 (128, so 0).
const std::vector<std::string> kNumberedWrites{
    "SetIDDispParms 101 102 103 104 0 0 0 0 = 1",
    "SetLEDCtrl 129 130 131 0 0 0 0 0 = 1",
    "SetFlags2 0 127 128 0 136 135 137 0 = 1",
    "SetFlags3 138 139 140 141 146 147 0 0 = 1",
    "SetIDDispParms3 142 143 144 145 0 0 0 0 = 1",
    "SetIDDispParms2 123 124 125 126 133 134 0 0 = 1",
    "SetIDBitCnts 105 106 107 108 0 0 0 0 = 1",
    "SetFlags 109 110 111 112 113 114 115 116 = 1",
    "SetTimeParms 117 119 120 121 122 0 0 0 = 1",
    "WriteCfg = 1 ; reader 0 LUID 3",
};

TEST_F(SimTest, EveryLineReachesItsSetterInTheReadersOrder) {
    scenario("reader 3\n");
    config(numberedConfig());
    UsbReaders r = readers();
    ASSERT_TRUE(r.reinitialize());
    EXPECT_EQ(writes(), kNumberedWrites);
}

TEST_F(SimTest, AnIncompleteConfigurationIsNeverWritten) {
    scenario("reader 3\n");
    std::string shortFile = numberedConfig();
    shortFile.erase(shortFile.rfind("\"147\""));  // 46 lines
    config(shortFile);
    UsbReaders r = readers();
    r.setLuidEntry("7");
    // The reader stays usable for reading cards; it just keeps its own configuration.
    EXPECT_TRUE(r.reinitialize());
    EXPECT_FALSE(r.configLoaded());
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(r.LuidEntry(), "7");
    EXPECT_EQ(r.luidList().selectedIndex(), 0);
}

TEST_F(SimTest, OnlyLuidsBelowSixteenAreTaken) {
    config(numberedConfig());
    // the entry, the SetLUID call (null when none) and the entry afterwards
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"16", nullptr, "16"},         {"-1", nullptr, "-1"},       {"0", nullptr, "0"},
        {"abc", nullptr, "abc"},       {"1e999", nullptr, "1e999"}, {"15", "SetLUID 15 = 1", ""},
        {"1 2", "SetLUID 12 = 1", ""}, {"2.5", "SetLUID 2 = 1", ""}};
    for (const auto& [entry, setLuid, entryAfter] : cases) {
        scenario(std::string("reader 3\n# ") + entry + "\n");
        clearCalls();
        UsbReaders r = readers();
        r.setLuidEntry(entry);
        ASSERT_TRUE(r.reinitialize());
        const auto w = writes();
        const bool set = std::find(w.begin(), w.end(), setLuid ? setLuid : "") != w.end();
        EXPECT_EQ(set, setLuid != nullptr) << entry;
        EXPECT_EQ(w.size(), setLuid ? 11U : 10U) << entry;
        EXPECT_EQ(r.LuidEntry(), entryAfter) << entry;
    }
}

}  // namespace
}  // namespace morvane::test
