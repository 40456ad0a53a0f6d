// The widget tests share one QApplication, off screen unless a platform is asked for.
#include <gtest/gtest.h>

#include <QApplication>

#include "lock_test_support.h"

int main(int argc, char** argv) {
    // Every window probes COM ports 1 to 9 as it opens: none of them may be a real serial line.
    // A test that wants a lock points a port at a pseudo-terminal of its own.
    morvane::test::pointAllComPortsNowhere();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
