#include "readers/pcprox_library.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include "sim_fixture.h"

namespace morvane::test {
namespace {

TEST(PcProxLibraryLocations, VariableThenProgramFolderThenEverySystemFolder) {
    const std::string arch = MORVANE_LIBRARY_ARCHITECTURE;
    std::vector<std::filesystem::path> expected{"/srv/readers/libvendor.so",
                                                "/opt/morvane/bin/libpcprox.so"};
    for (const std::string root : {"/usr/local/lib", "/usr/lib", "/lib"}) {
        if (!arch.empty()) expected.push_back(root + "/" + arch + "/libpcprox.so");
        expected.push_back(root + "/libpcprox.so");
    }
    EXPECT_EQ(pcproxLibraryLocations("/opt/morvane/bin", "/srv/readers/libvendor.so"), expected);
    // Relative places are never searched.
    expected.erase(expected.begin(), expected.begin() + 2);
    for (const char* relative : {"libpcprox.so", "./libpcprox.so", "", "../x/libpcprox.so"}) {
        EXPECT_EQ(pcproxLibraryLocations("bin", relative), expected) << relative;
    }
}

// The variable first, then the program folder; a place that holds no loadable library is
// passed over, and the first library that loads is taken even when it lacks entry points.
TEST_F(SimTest, TheFirstLoadableLibraryInTheSearchIsTaken) {
    for (const auto& place : pcproxLibraryLocations({}, nullptr)) {
        if (fs::exists(place)) GTEST_SKIP() << "a reader library is installed";
    }
    fs::create_directories(dir / "bin");
    fs::copy_file(MORVANE_PCPROX_SIM_INCOMPLETE, dir / "bin" / "libpcprox.so");
    writeFile(dir / "junk.so", "not a library");
    for (const fs::path& variable : {dir / "absent.so", dir / "junk.so"}) {
        setenv(kPcProxLibraryVariable, variable.c_str(), 1);
        const auto found = loadPcProxLibrary(dir / "bin");
        ASSERT_NE(found, nullptr) << variable;
        EXPECT_EQ(found->entry().getActiveID, nullptr);
        EXPECT_NE(found->entry().usbConnect, nullptr);
        EXPECT_EQ(loadPcProxLibrary(dir), nullptr) << variable;
    }
    setenv(kPcProxLibraryVariable, MORVANE_PCPROX_SIM, 1);
    EXPECT_NE(loadPcProxLibrary(dir / "bin")->entry().getActiveID, nullptr);
}

TEST_F(SimTest, TheBindingPassesArgumentsAndResultsThrough) {
    scenario("device -0x1234\nreader -7\nreader 32767\n");
    auto library = emulator();
    std::int32_t device = 0;
    EXPECT_EQ(library->USBConnect(device), 1);
    EXPECT_EQ(device, -0x1234);
    EXPECT_EQ(library->GetDevCnt(), 2);
    EXPECT_EQ(library->SetActDev(1), 1);
    EXPECT_EQ(library->ReadCfg(), 1);
    EXPECT_EQ(library->GetLUID(), 32767);
    EXPECT_EQ(library->GetActDev(), 1);
    ParameterRecord record;
    record.field = {-32768, -1, 0, 1, 2, 3, 4, 32767};
    EXPECT_EQ(library->setRecord(RecordId::IDDispParms3, record), 1);
    EXPECT_EQ(calls().back(), "SetIDDispParms3 -32768 -1 0 1 2 3 4 32767 = 1");
    EXPECT_EQ(library->SetLUID(-2), 1);
    EXPECT_EQ(library->WriteCfg(), 1);
    EXPECT_EQ(calls().back(), "WriteCfg = 1 ; reader 1 LUID -2");
}

}  // namespace
}  // namespace morvane::test
