#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lock_test_support.h"
#include "readers/lock/com_port_check.h"
#include "readers/lock/com_port_map.h"

namespace morvane {
namespace {

using test::ScopedComPort;

TEST(ComPortDevice, StandardLinesUnlessAnAbsolutePathIsGiven) {
    const std::tuple<int, std::optional<std::string>, std::optional<std::string>> cases[] = {
        {1, std::nullopt, "/dev/ttyS0"},
        {9, std::nullopt, "/dev/ttyS8"},
        {4, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {4, "ttyUSB0", "/dev/ttyS3"},
        {4, "", "/dev/ttyS3"},
        {10, std::nullopt, std::nullopt},
        {0, std::nullopt, std::nullopt}};
    for (const auto& [port, variable, device] : cases) {
        ScopedComPort scoped(port, variable);
        EXPECT_EQ(comPortDevice(port), device) << port << " " << variable.value_or("-");
    }
}

TEST(ComPorts, ThePortsThatOpenAreListedInOrder) {
    test::SimulatedLock first({"silent"}), ninth({"silent"});
    ScopedComPort nine(9, ninth.device()), one(1, first.device());
    EXPECT_EQ(openableComPorts(), (std::vector<std::string>{"1", "9"}));
    EXPECT_TRUE(CheckComPort(9)) << "the port must be closed again after a check";
    EXPECT_FALSE(CheckComPort(3));
    EXPECT_FALSE(CheckComPort(10));
}

}  // namespace
}  // namespace morvane
