#include "readers/lock/lock_input_guard.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QShortcut>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QVBoxLayout>

#include "lock_test_support.h"
#include "readers/lock/lock_reader.h"

namespace morvane {
namespace {

using test::ScopedComPort;
using test::SimulatedLock;

// Stands in for the main window: a cancel key that presses "E&xit", a button, a text box, and
// a count of its paints and of the key presses that reach it.
class Window : public QWidget {
  public:
    Window() {
        auto* layout = new QVBoxLayout(this);
        layout->addWidget(cardData);
        layout->addWidget(splitData);
        layout->addWidget(exitButton);
        auto* cancelKey = new QShortcut(QKeySequence(Qt::Key_Escape), this);
        connect(cancelKey, &QShortcut::activated, exitButton, &QPushButton::click);
    }

    QLineEdit* cardData = new QLineEdit;
    QPushButton* splitData = new QPushButton("Split Data");
    QPushButton* exitButton = new QPushButton("E&xit");
    int paints = 0;
    int keyPresses = 0;

  protected:
    void paintEvent(QPaintEvent* event) override {
        ++paints;
        QWidget::paintEvent(event);
    }
    void keyPressEvent(QKeyEvent* event) override {
        ++keyPresses;
        QWidget::keyPressEvent(event);
    }
};

class LockInputGuardTest : public testing::Test {
  protected:
    void SetUp() override {
        reader.setPort(1);
        reader.setWaitValue(5000);
        qApp->installEventFilter(&guard);
        window.show();
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        window.cardData->setFocus();
    }
    void TearDown() override { qApp->removeEventFilter(&guard); }

    SimulatedLock lock{{"silent"}};
    ScopedComPort port{1, lock.device()};
    LockReader reader;
    LockInputGuard guard{reader};
    Window window;
};

TEST_F(LockInputGuardTest, EscCancelsTheReadAndNeverPressesExit) {
    QSignalSpy exits(window.exitButton, &QPushButton::clicked);
    // The cancel key works while nothing waits, so the window under test is a fair one.
    QTest::keyClick(window.cardData, Qt::Key_Escape);
    ASSERT_EQ(exits.count(), 1);

    const int keyPressesBefore = window.keyPresses;
    QTimer::singleShot(200, [&] { QTest::keyClick(window.cardData, Qt::Key_Escape); });
    EXPECT_EQ(reader.readCard(), reader.statusCancelled());
    EXPECT_EQ(exits.count(), 1) << "the Esc that cancelled the read pressed E&xit";
    EXPECT_EQ(window.keyPresses, keyPressesBefore);
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(lock.waitForReport("received: CANCEL"));

    QTest::keyClick(window.cardData, Qt::Key_Escape);
    EXPECT_EQ(exits.count(), 2) << "after the read the cancel key works again";
}

TEST_F(LockInputGuardTest, WindowTakesNoInputButKeepsPaintingWhileAReadWaits) {
    QSignalSpy splits(window.splitData, &QPushButton::clicked);
    QSignalSpy exits(window.exitButton, &QPushButton::clicked);
    int paintsDuringRead = 0;
    QTimer::singleShot(100, [&] {
        QTest::mouseClick(window.splitData, Qt::LeftButton);
        QTest::keyClicks(window.cardData, "0123");
        QTest::keyClick(window.cardData, Qt::Key_X, Qt::AltModifier);  // E&xit's mnemonic
        paintsDuringRead = window.paints;
        window.update();
    });
    QTimer::singleShot(400, [&] {
        paintsDuringRead = window.paints - paintsDuringRead;
        reader.cancel();
    });
    ASSERT_EQ(reader.readCard(), reader.statusCancelled());
    EXPECT_EQ(splits.count(), 0);
    EXPECT_EQ(exits.count(), 0);
    EXPECT_EQ(window.cardData->text(), "");
    EXPECT_GT(paintsDuringRead, 0) << "the window did not repaint while the read waited";

    QTest::mouseClick(window.splitData, Qt::LeftButton);
    QTest::keyClicks(window.cardData, "0123");
    EXPECT_EQ(splits.count(), 1);
    EXPECT_EQ(window.cardData->text(), "0123");
}

}  // namespace
}  // namespace morvane

int main(int argc, char** argv) {
    morvane::test::pointAllComPortsNowhere();
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
