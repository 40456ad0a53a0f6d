#include "sim_fixture.h"

namespace morvane::test {
namespace {

// Line k of numberedConfig() holds 100 + k; line 20 replaces line 18 and Flags2 4 follows
// Flags2 3 (128, so 0). The second of two readers is programmed.
const std::vector<std::string> kNumberedWrites{"SetIDDispParms 101 102 103 104 0 0 0 0 = 1",
                                               "SetLEDCtrl 129 130 131 0 0 0 0 0 = 1",
                                               "SetFlags2 0 127 128 0 136 135 137 0 = 1",
                                               "SetFlags3 138 139 140 141 146 147 0 0 = 1",
                                               "SetIDDispParms3 142 143 144 145 0 0 0 0 = 1",
                                               "SetIDDispParms2 123 124 125 126 133 134 0 0 = 1",
                                               "SetIDBitCnts 105 106 107 108 0 0 0 0 = 1",
                                               "SetFlags 109 110 111 112 113 114 115 116 = 1",
                                               "SetTimeParms 117 119 120 121 122 0 0 0 = 1",
                                               "WriteCfg = 1 ; reader 1 LUID 5"};

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

// A LUID from the entry box is taken below sixteen; a short file or a reader too old is never
// written to; whatever the library counts, at most sixteen readers are listed and programmed.
struct Start {
    std::string scenario = "reader 3\n";
    const char* entry = "";
    bool complete = true, usable = true;
    std::size_t listed = 1, writes = 10;
    std::string luid = "3";  // the reader's LUID afterwards
};

TEST_F(SimTest, AStartListsTheReadersAndProgramsTheActiveOne) {
    std::string many, shortFile = numberedConfig();
    for (int luid = 1; luid <= 20; ++luid) many += "reader " + std::to_string(luid) + "\n";
    shortFile.erase(shortFile.rfind("\"147\""));  // 46 lines
    // clang-format off
    const Start cases[] = {
        {.entry = "16"}, {.entry = "-1"}, {.entry = "0"}, {.entry = "abc"}, {.entry = "1e999"},
        {.entry = "15", .writes = 11, .luid = "15"}, {.entry = "1 2", .writes = 11, .luid = "12"},
        {.entry = "2.5", .writes = 11, .luid = "2"}, {.entry = "7", .complete = false, .writes = 0},
        {.scenario = "device 0x210\nreader 3\n"}, {.scenario = "device 0x1100\nreader 3\n"},
        {.scenario = "device 0x1F0\nreader 3\n", .usable = false, .writes = 0},
        {.scenario = many, .listed = 16}, {.scenario = many + "devcount -3\n", .listed = 0},
        {.scenario = many + "devcount 32767\n", .listed = 16}};
    // clang-format on
    for (const Start& c : cases) {
        SCOPED_TRACE(c.scenario + c.entry);
        config(c.complete ? numberedConfig() : shortFile);
        scenario(c.scenario);
        clearCalls();
        UsbReaders r = readers();
        r.setLuidEntry(c.entry);
        EXPECT_EQ(r.reinitialize(), c.usable);
        EXPECT_EQ(r.configLoaded(), c.complete && c.usable);
        const auto w = writes();
        const bool set = c.luid != "3";
        EXPECT_EQ(w.size(), c.writes);
        EXPECT_EQ(std::count(w.begin(), w.end(), "SetLUID " + c.luid + " = 1"), set ? 1 : 0);
        EXPECT_EQ(r.LuidEntry(), set ? "" : c.entry);
        ASSERT_EQ(r.luidList().entries().size(), c.listed);
        EXPECT_TRUE(c.listed != 1 || r.luidList().entries()[0].text == c.luid);
        EXPECT_TRUE(c.listed != 1 || r.luidList().selectedIndex() == 0);
        EXPECT_EQ(r.programmedLuids()[16], c.listed == 16 ? 16 : 0);
        for (const std::string& call : calls()) EXPECT_FALSE(call.starts_with("SetActDev 16"));
    }
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
    const std::vector<std::string> log = calls();  // the search for the readers, in order
    ASSERT_GE(log.size(), 13U);
    EXPECT_EQ(
        std::vector(log.begin(), log.begin() + 13),
        (std::vector<std::string>{
            "SetDevTypeSrch 0 = 1", "SetConnectProduct 1 = 1", "USBConnect = 1 ; device 528",
            "ReadCfg = 1", "GetActDev = 0", "GetDevCnt = 2", "SetActDev 0 = 1", "ReadCfg = 1",
            "GetLUID = 3", "SetActDev 1 = 1", "ReadCfg = 1", "GetLUID = 5", "GetActDev = 1"}));

    scenario("reader 5\nreader 3\nactive 1\n");
    clearCalls();
    ASSERT_TRUE(r.reinitialize());
    EXPECT_EQ(r.luidList().entries(), (std::vector<LuidListEntry>{{"5", 5}, {"3", 3}}));
    EXPECT_EQ(r.luidList().selectedIndex(), 0);
    EXPECT_EQ(writes().back(), "WriteCfg = 1 ; reader 0 LUID 5");
}

}  // namespace
}  // namespace morvane::test
