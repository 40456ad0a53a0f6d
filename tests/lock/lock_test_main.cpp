#include <gtest/gtest.h>

#include <QCoreApplication>

#include "lock_test_support.h"

int main(int argc, char** argv) {
    for (int n = morvane::kFirstComPort; n <= morvane::kLastComPort; ++n) {
        setenv(morvane::comPortVariable(n).c_str(), morvane::test::nowhere(n).c_str(), 1);
    }
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
