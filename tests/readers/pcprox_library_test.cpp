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
}

TEST(PcProxLibraryLocations, NeverARelativePlace) {
    const auto reference = pcproxLibraryLocations({}, nullptr);
    for (const char* relative : {"libpcprox.so", "./libpcprox.so", "", "../x/libpcprox.so"}) {
        EXPECT_EQ(pcproxLibraryLocations("bin", relative), reference) << relative;
    }
    for (const auto& place : reference) {
        EXPECT_TRUE(place.string().starts_with("/usr/") || place.string().starts_with("/lib"));
    }
}

class LoadLibraryTest : public SimTest {
  protected:
    void SetUp() override {
        SimTest::SetUp();
        unsetenv(kPcProxLibraryVariable);
        for (const auto& place : pcproxLibraryLocations({}, nullptr)) {
            if (std::filesystem::exists(place)) GTEST_SKIP() << "a reader library is installed";
        }
    }
    void TearDown() override {
        unsetenv(kPcProxLibraryVariable);
        SimTest::TearDown();
    }
    void copyEmulator(const std::filesystem::path& to, const char* from = MORVANE_PCPROX_SIM) {
        std::filesystem::create_directories(to.parent_path());
        std::filesystem::copy_file(from, to);
    }
};

TEST_F(LoadLibraryTest, FoundByTheVariableOrInTheProgramFolder) {
    setenv(kPcProxLibraryVariable, MORVANE_PCPROX_SIM, 1);
    EXPECT_NE(loadPcProxLibrary({}), nullptr);
    unsetenv(kPcProxLibraryVariable);

    copyEmulator(dir / "bin" / "libpcprox.so");
    EXPECT_NE(loadPcProxLibrary(dir / "bin"), nullptr);
    // A variable naming a file that is not there falls through to the program folder.
    setenv(kPcProxLibraryVariable, (dir / "absent.so").c_str(), 1);
    EXPECT_NE(loadPcProxLibrary(dir / "bin"), nullptr);
}

TEST_F(LoadLibraryTest, NeverFromTheCurrentDirectory) {
    copyEmulator(dir / "libpcprox.so");
    const auto before = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    setenv(kPcProxLibraryVariable, "libpcprox.so", 1);
    const bool found = loadPcProxLibrary({}) != nullptr || loadPcProxLibrary(".") != nullptr;
    std::filesystem::current_path(before);
    EXPECT_FALSE(found);
}

TEST_F(LoadLibraryTest, TheFirstLoadableLibraryDecidesAndJunkIsSkipped) {
    copyEmulator(dir / "bin" / "libpcprox.so");
    setenv(kPcProxLibraryVariable, MORVANE_PCPROX_SIM_INCOMPLETE, 1);
    const auto incomplete = loadPcProxLibrary(dir / "bin");
    ASSERT_NE(incomplete, nullptr);
    EXPECT_EQ(incomplete->entry().getActiveID, nullptr);
    EXPECT_NE(incomplete->entry().usbConnect, nullptr);
    writeFile(dir / "junk.so", "not a library");
    setenv(kPcProxLibraryVariable, (dir / "junk.so").c_str(), 1);
    EXPECT_NE(loadPcProxLibrary(dir / "bin"), nullptr);
    EXPECT_EQ(bindPcProxLibrary(dir / "junk.so"), nullptr);
}

TEST_F(SimTest, TheBindingPassesArgumentsAndResultsThrough) {
    scenario("device -0x1234\nreader -7\nreader 32767\n");
    auto library = emulator();
    ASSERT_NE(library, nullptr);
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
