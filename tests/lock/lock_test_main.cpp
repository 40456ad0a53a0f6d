#include <gtest/gtest.h>

#include <QCoreApplication>

#include "lock_test_support.h"

int main(int argc, char** argv) {
    morvane::test::pointAllComPortsNowhere();
    QCoreApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
