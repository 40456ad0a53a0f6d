#include "sim_fixture.h"

namespace morvane::test {
namespace {

// Line k of numberedConfig() holds 100 + k; line 20 replaces line 18 and Flags2 4 follows
// Flags2 3 (128, so 0). The second of two readers is programmed.
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
    "WriteCfg = 1 ; reader 1 LUID 5",
};

// A reader whose configuration file is short keeps its own configuration and its LUID, and
// stays usable for reading cards.
TEST_F(SimTest, OnlyLuidsBelowSixteenAreTakenAndOnlyACompleteConfigurationIsWritten) {
    std::string shortFile = numberedConfig();
    shortFile.erase(shortFile.rfind("\"147\""));  // 46 lines
    // the entry, the SetLUID call (null when none), and whether the configuration is complete
    const std::tuple<const char*, const char*, bool> cases[] = {// clang-format off
        {"16", nullptr, true}, {"-1", nullptr, true}, {"0", nullptr, true}, {"abc", nullptr, true},
        {"1e999", nullptr, true}, {"15", "SetLUID 15 = 1", true}, {"1 2", "SetLUID 12 = 1", true},
        {"2.5", "SetLUID 2 = 1", true}, {"7", nullptr, false}};
    // clang-format on
    for (const auto& [entry, setLuid, complete] : cases) {
        config(complete ? numberedConfig() : shortFile);
        scenario(std::string("reader 3\n# ") + entry + "\n");
        clearCalls();
        UsbReaders r = readers();
        r.setLuidEntry(entry);
        ASSERT_TRUE(r.reinitialize());
        const auto w = writes();
        EXPECT_EQ(w.size(), complete ? (setLuid ? 11U : 10U) : 0U) << entry;
        EXPECT_TRUE(!setLuid || std::find(w.begin(), w.end(), setLuid) != w.end()) << entry;
        EXPECT_EQ(r.LuidEntry(), setLuid ? "" : entry) << entry;
        EXPECT_EQ(r.configLoaded(), complete);
        EXPECT_EQ(r.luidList().selectedIndex(), 0);
    }
}

TEST(FirmwareVersion, JoinsHighPartAndMajorNumberAsDecimalText) {
    // device, high part, major, number
    const std::int64_t cases[][4] = {{0x210, 0, 2, 2},     {0x1F0, 0, 1, 1},
                                     {0x1100, 1, 1, 11},   {0x1300, 1, 3, 13},
                                     {0x1F00, 1, 15, 115}, {-1, -1, 15, -115},
                                     {0x1A00, 1, 10, 110}, {0x7FFFFFFF, 0x7FFFF, 15, 52428715}};
    for (const auto& c : cases) {
        const FirmwareVersion v = firmwareVersion(static_cast<std::int32_t>(c[0]));
        EXPECT_EQ(std::tuple(v.highPart, v.major, v.number), std::tuple(c[1], c[2], c[3])) << c[0];
    }
}

TEST(LuidList, AnIndexOutsideTheListHasNoEntryAndClearingDropsTheSelection) {
    LuidList list;
    list.add({"3", 3});
    list.select(0);
    EXPECT_EQ(list.entryAt(1), nullptr);
    EXPECT_EQ(list.textAt(-1), "");
    list.clear();
    EXPECT_EQ(list.selectedIndex(), LuidList::kNoSelection);
}

// A reader too old to keep the configuration is listed but nothing is written to it; whatever
// the library counts, at most sixteen readers are listed and programmed.
TEST_F(SimTest, TheDeviceValueAndTheCountDecideWhatIsListedAndWritten) {
    std::string many;
    for (int luid = 1; luid <= 20; ++luid) many += "reader " + std::to_string(luid) + "\n";
    config(numberedConfig());
    const std::tuple<std::string, bool, std::size_t> cases[] = {
        // scenario, usable, listed
        {"device 0x210\nreader 3\n", true, 1},  {"device 0x1F0\nreader 3\n", false, 1},
        {"device 0x1100\nreader 3\n", true, 1}, {many, true, 16},
        {many + "devcount -3\n", true, 0},      {many + "devcount 32767\n", true, 16}};
    for (const auto& [text, usable, listed] : cases) {
        scenario(text);
        clearCalls();
        UsbReaders r = readers();
        EXPECT_EQ(r.reinitialize(), usable) << text;
        ASSERT_EQ(r.luidList().entries().size(), listed) << text;
        EXPECT_TRUE(listed != 1 || r.luidList().entries()[0].text == "3") << text;
        EXPECT_EQ(writes().empty(), !usable) << text;
        EXPECT_EQ(r.programmedLuids()[16], listed == 16 ? 16 : 0) << text;
        for (const std::string& c : calls()) EXPECT_FALSE(c.starts_with("SetActDev 16")) << c;
    }
    // An old reader whose library then counts none leaves the list as it was.
    UsbReaders r = readers();
    scenario("reader 3\n");
    ASSERT_TRUE(r.reinitialize());
    scenario("device 0x1F0\nreader 3\ndevcount 0\n");
    EXPECT_FALSE(r.reinitialize());
    EXPECT_EQ(r.luidList().entries().size(), 1U);
}

// At the first start the last reader listed is programmed; afterwards the active reader is
// kept by its LUID, wherever it sits when the readers are plugged in again.
TEST_F(SimTest, TheActiveReaderIsTheLastAtFirstAndThenKeptByItsLuid) {
    scenario("reader 3\nreader 5\n");
    config(numberedConfig());
    UsbReaders r = readers();
    ASSERT_TRUE(r.reinitialize());
    EXPECT_EQ(r.luidList().entries(), (std::vector<LuidListEntry>{{"3", 3}, {"5", 5}}));
    EXPECT_EQ(r.luidList().selectedIndex(), 1);
    EXPECT_EQ(writes(), kNumberedWrites);

    scenario("reader 5\nreader 3\nactive 1\n");
    clearCalls();
    ASSERT_TRUE(r.reinitialize());
    EXPECT_EQ(r.luidList().entries(), (std::vector<LuidListEntry>{{"5", 5}, {"3", 3}}));
    EXPECT_EQ(r.luidList().selectedIndex(), 0);
    EXPECT_EQ(writes().back(), "WriteCfg = 1 ; reader 0 LUID 5");
}

}  // namespace
}  // namespace morvane::test
