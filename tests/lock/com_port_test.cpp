#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "lock_test_support.h"
#include "readers/lock/com_port_check.h"
#include "readers/lock/com_port_map.h"

namespace morvane {
namespace {

using test::nowhere;
using test::PseudoTerminal;
using test::ScopedComPort;
using Ports = std::vector<std::string>;

TEST(ComPortDevice, StandardLinesUnlessAnAbsolutePathIsGiven) {
    struct Case {
        int port;
        std::optional<std::string> variable;
        std::optional<std::string> device;
    };
    const Case cases[] = {
        {1, std::nullopt, "/dev/ttyS0"},
        {9, std::nullopt, "/dev/ttyS8"},
        {4, "/dev/ttyUSB0", "/dev/ttyUSB0"},
        {4, "ttyUSB0", "/dev/ttyS3"},  // relative: never a file of the current folder
        {4, "./lock", "/dev/ttyS3"},
        {4, "", "/dev/ttyS3"},
        {0, "/dev/ttyUSB0", std::nullopt},  // MORVANE_COM0 is nobody's port
        {10, std::nullopt, std::nullopt},
        {-1, std::nullopt, std::nullopt},
    };
    for (const Case& c : cases) {
        const int variablePort = c.port >= kFirstComPort && c.port <= kLastComPort ? c.port : 1;
        ScopedComPort scoped(variablePort, c.variable);
        if (c.port == 0 && c.variable) setenv("MORVANE_COM0", c.variable->c_str(), 1);
        EXPECT_EQ(comPortDevice(c.port), c.device) << c.port << " " << c.variable.value_or("-");
        unsetenv("MORVANE_COM0");
    }
}

TEST(CheckComPort, OpensAPseudoTerminalButNeitherAMissingDeviceNorAnUnknownPort) {
    PseudoTerminal line;
    ScopedComPort two(2, line.device());
    EXPECT_TRUE(CheckComPort(2));
    EXPECT_TRUE(CheckComPort(2)) << "the port must be closed again after a check";
    EXPECT_FALSE(CheckComPort(3));
    for (std::int16_t outside : std::initializer_list<std::int16_t>{0, 10, -1, 32767}) {
        EXPECT_FALSE(CheckComPort(outside)) << outside;
    }
}

TEST(CheckComPort, NeverSendsAnythingToTheDevice) {
    PseudoTerminal line;
    ScopedComPort one(1, line.device());
    ASSERT_TRUE(CheckComPort(1));
    EXPECT_EQ(line.pendingBytes(), "");
}

TEST(OpenableComPorts, ListsNothingWhenNoPortOpensThenThePortThatCameFree) {
    EXPECT_EQ(openableComPorts(), Ports{});
    PseudoTerminal line;
    ScopedComPort seven(7, line.device());
    EXPECT_EQ(openableComPorts(), Ports{"7"});
}

TEST(OpenableComPorts, ListsPortsOneAndThreeInOrder) {
    PseudoTerminal first, third;
    ScopedComPort three(3, third.device());
    ScopedComPort one(1, first.device());
    EXPECT_EQ(openableComPorts(), (Ports{"1", "3"}));
}

}  // namespace
}  // namespace morvane
