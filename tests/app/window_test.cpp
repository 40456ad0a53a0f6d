// The window as a calling program starts it and as it hands results back, its first activation,
// tab order and keys, the Data Input boxes, the card format buttons and the Split Data page.
#include <QAccessible>
#include <QComboBox>
#include <QLabel>
#include <QTimer>
#include <algorithm>
#include <filesystem>
#include <tuple>

#include "app/clipboard/system_clipboard.h"
#include "app/runtime_folder.h"
#include "app/window_fixture.h"
#include "support/run_process.h"

namespace morvane::test {
namespace {

const QString kNoResult = QStringLiteral("????????????????");

using Window = WindowTest;

// The checked button and the facility box as the window opens, then what "&OK" hands back
// for hotstamp 1: the code in force, the facility code, QRV mode and prox data only.
TEST_F(Window, StartsFromWhatTheClipboardHolds) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"", "opt37Bit|", "OK;0000000000000002;FC=0;CF=37;QRVF=F"},
        {"FC=123;CF=26;QRVF=F", "opt26Bit|123", "OK;0000000475400002;FC=123;CF=26;QRVF=F"},
        {" FC=7;CF=35;QRVF=F", "opt35Bit|0", "0000700000000002"},
        {"FC=-5;CF=35V;QRVF=F", "opt35BitV|-5", ""},
        {"FC=7;CF=Proxif;QRVF=F", "|7", "OK;0000000070000001;FC=7;CF=Proxif;QRVF=F"},
        {"fc=7;cf=35V;qrvf=T", "opt37Bit|7", "OK;0001000034000002;FC=7;CF=37;QRVF=T"},
    };
    for (const auto& [invocation, opened, result] : cases) {
        SCOPED_TRACE(invocation);
        clipboard.placed.clear();
        messages.take();
        open(invocation);
        QStringList checked;
        for (QRadioButton* b : window->findChildren<QRadioButton*>()) {
            if (b->isChecked()) checked << b->objectName();
        }
        EXPECT_EQ(checked.join("") + "|" + text("txtFacilityCode"), opened);
        const bool qrv = QString(result).endsWith("QRVF=T");
        for (const char* name : {"fraCardFormat", "opt26Bit", "opt35Bit", "opt37Bit", "opt35BitV",
                                 "lblFacilityCode", "txtFacilityCode"}) {
            EXPECT_EQ(control(name)->isEnabled(), !qrv) << name;
        }
        EXPECT_EQ(text("txtVersion") + window->windowTitle(), "0Morvane [v2.4.0]");
        EXPECT_FALSE(control("cmdOK")->isEnabled());
        EXPECT_TRUE(messages.shown.empty());
        retype("txtBoxSerialNo", "1");
        press(Qt::Key_Return);
        press(Qt::Key_Return);
        EXPECT_EQ(clipboard.placed.join(""), result);
    }
}

TEST_F(Window, OKHandsBackTheResultAndCopyMakesItTheBareProxData) {
    for (bool copied : {false, true}) {
        open("FC=123;CF=26;QRVF=F");
        retype("txtBoxSerialNo", "1");
        press(Qt::Key_Return);
        if (copied) click("cmdCopyToCB");
        click("cmdOK");
        EXPECT_FALSE(window->isVisible());
    }
    EXPECT_EQ(clipboard.placed, (QStringList{"OK;0000000475400002;FC=123;CF=26;QRVF=F",
                                             "0000000475400002", "0000000475400002"}));
}

TEST_F(Window, AResultThatCannotBePlacedIsReportedAndTheWindowStaysOpen) {
    retype("txtBoxSerialNo", "1");
    press(Qt::Key_Return);
    clipboard.failPlacing = true;
    for (const char* button : {"cmdCopyToCB", "cmdOK", "cmdCancel"}) click(button);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(messages.take(), QStringList(3,
                                           "The result could not be placed on the clipboard. "
                                           "Morvane stays open so that it is not lost."));
    clipboard.failPlacing = false;
    click("cmdOK");  // the failed copy left the full result string in force
    EXPECT_EQ(clipboard.placed, QStringList{"OK;0000000000000002;FC=0;CF=37;QRVF=F"});
}

// Keys typed before the clipboard has been read are taken under the invocation string's
// settings, shortcuts included, and none is lost.
TEST_F(Window, KeysTypedBeforeTheStartUpReadWaitForIt) {
    const std::pair<std::vector<Qt::Key>, const char*> cases[] = {
        {{Qt::Key_1, Qt::Key_Return, Qt::Key_Return}, "OK;0000000475400002;FC=123;CF=26;QRVF=F"},
        {{Qt::Key_Escape}, "Cancel"}};
    for (const auto& [keys, result] : cases) {
        clipboard.deferred = true;
        clipboard.placed.clear();
        open("FC=123;CF=26;QRVF=F");
        for (const Qt::Key key : keys) press(key);
        EXPECT_EQ(text("txtBoxSerialNo") + clipboard.placed.join(""), "");
        QLineEdit other;  // another window of the program takes its keys at once
        QTest::keyClick(&other, Qt::Key_7);
        EXPECT_EQ(other.text(), "7");
        clipboard.answer();
        EXPECT_EQ(clipboard.placed, QStringList(result));
    }
}

// Said on the window itself, never in a message box.
TEST_F(Window, SaysWhenTheClipboardWasNotReadOrWillNotKeepTheResult) {
    const std::tuple<bool, bool, const char*> cases[] = {
        {true, true, ""},
        {false, true,
         "The clipboard could not be read in time: no calling program's settings were applied, "
         "and Morvane runs on its own."},
        {true, false,
         "A result placed on the clipboard lasts only while Morvane runs (wl-copy, from "
         "wl-clipboard, keeps it)."}};
    for (const auto& [answered, keeps, said] : cases) {
        clipboard.answered = answered;
        clipboard.keeps = keeps;
        open();
        auto* status = control<QLabel>("lblStatus");
        EXPECT_EQ(status->text(), QString(said));
        EXPECT_EQ(status->isVisible(), *said != '\0');
        EXPECT_TRUE(messages.shown.empty());
    }
}

TEST_F(Window, OnlyTheFirstActivationShowsDataInputWithTheCursorInTheHotstampBox) {
    window =
        std::make_unique<frmMorvane>(WindowServices{.messages = messages, .clipboard = clipboard});
    auto* tabs = control<QTabWidget>("SSTab1");
    tabs->setCurrentIndex(1);
    QWidget other, *const main = window.get();
    for (QWidget* w : {main, &other, main}) {
        if (w == &other) {
            EXPECT_EQ(tabs->currentIndex(), 0);
            EXPECT_EQ(focusName(), "txtBoxSerialNo");
            tabs->setCurrentIndex(1);
        }
        w->show();
        w->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(w));
    }
    EXPECT_EQ(tabs->currentIndex(), 1);
}

// From a page's first stop Tab visits every control that takes input once and comes round,
// Shift+Tab the same way back; a screen reader has a name to say for each.
TEST_F(Window, TabComesRoundEveryControlOnceBothWaysAndEachHasAName) {
    const std::pair<int, QStringList> pages[] = {
        {0,
         {"txtBoxSerialNo", "txtFacilityCode", "cmdConvert", "cmdCopyToCB", "cmdCancel", "SSTab1",
          "txtBoxProxData", "opt37Bit", "bitMap"}},
        {1,
         {"SSTab1", "txtData", "cmdStart", "lbl26Bit", "Label6", "lbl35Bit", "lbl35V", "Label4",
          "Label5", "lbl37Bit", "lblProxif", "cmdGetCard", "ComboComPort", "btnReinitializeUSB",
          "bitMap", "cmdCancel"}},
    };
    for (const auto& [page, ring] : pages) {
        showPage(page);
        control(page == 0 ? "txtBoxSerialNo" : "SSTab1")->setFocus();
        for (Qt::Key key : {Qt::Key_Tab, Qt::Key_Backtab}) {
            QStringList visited;
            do {
                visited << focusName();
                auto* named = QAccessible::queryAccessibleInterface(QApplication::focusWidget());
                EXPECT_FALSE(named->text(QAccessible::Name).isEmpty()) << focusName().toStdString();
                press(key);
            } while (focusName() != visited.front() && visited.size() < 40);
            if (key == Qt::Key_Backtab) std::reverse(visited.begin() + 1, visited.end());
            EXPECT_EQ(visited, ring);
        }
    }
}

// Esc closes an open list and nothing else; on the window it presses "E&xit".
TEST_F(Window, EscClosesAnOpenListOnlyAndOtherwisePressesExit) {
    showPage(1);
    auto* ports = control<QComboBox>("ComboComPort");
    ports->addItem("1");
    click(ports);
    ASSERT_NE(QApplication::activePopupWidget(), nullptr);
    press(Qt::Key_Escape);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(window->isVisible() && clipboard.placed.isEmpty());
    press(Qt::Key_Escape);
    EXPECT_EQ(clipboard.placed, QStringList{"Cancel"});
}

// Every control keeps at least its smallest size inside a window of 800 by 500 on either page.
TEST_F(Window, FitsEightHundredByFiveHundred) {
    window->resize(800, 500);
    for (int page : {0, 1}) {
        showPage(page);
        QApplication::processEvents();
        EXPECT_EQ(window->size(), QSize(800, 500));
        for (QWidget* w : window->findChildren<QWidget*>()) {
            const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                                 qobject_cast<QComboBox*>(w);
            if (!control || !w->isVisible()) continue;
            const QRect at(w->mapTo(window.get(), QPoint()), w->size());
            EXPECT_TRUE(window->rect().contains(at)) << w->objectName().toStdString();
            EXPECT_GE(w->width(), w->minimumSizeHint().width()) << w->objectName().toStdString();
        }
    }
}
using DataInput = WindowTest;

// The code in force shows in the bit map once Enter in the hotstamp box recalculates.
TEST_F(DataInput, TheFacilityBoxSetsTheCodeInForceOrIsReplacedOrEmptied) {
    // What was typed, the box after it, the code in force and the message shown.
    const std::pair<const char*, const char*> cases[] = {{"abc", "0|0|"},
                                                         {" 77 ", "77|77|"},
                                                         {"12.5", "12.5|12|"},
                                                         {"", "|9|"},
                                                         {"2147483648", "|9|6 Overflow"}};
    clickFormat("opt26Bit");
    retype("txtBoxSerialNo", "1");
    for (const auto& [typed, state] : cases) {
        retype("txtFacilityCode", "9");
        retype("txtFacilityCode", typed);
        const QString shown = text("txtFacilityCode");
        click(box("txtBoxSerialNo"));
        press(Qt::Key_Return);
        EXPECT_EQ(QStringList({shown, mapCaption().section("Facility Code: ", 1),
                               messages.take().join(",")})
                      .join('|'),
                  state)
            << typed;
    }
}

TEST_F(DataInput, ARangeErrorPutsTheLimitIntoItsBoxAndShowsNoResult) {
    // Proxif's limits: hotstamp 1048575, facility 32767, version 7.
    const std::pair<const char*, const char*> cases[] = {
        {"txtBoxSerialNo", "1048576"}, {"txtFacilityCode", "32768"}, {"txtVersion", "8"}};
    clickFormat("optProxif");
    for (const auto& [name, typed] : cases) {
        retype("txtFacilityCode", "1");
        retype("txtBoxSerialNo", "1");
        retype(name, typed);
        EXPECT_EQ(messages.take().size(), 1);
        EXPECT_EQ(texts({name, "txtBoxProxData"}),
                  QString::number(QString(typed).toInt() - 1) + "|" + kNoResult);
    }
}

TEST_F(DataInput, TheVersionBoxTakesTheFacilityCodeThroughSixteenBits) {
    clickFormat("optProxif");
    retype("txtFacilityCode", "40000");
    retype("txtVersion", "1");
    EXPECT_EQ(messages.take(), QStringList{"6 Overflow"});
    EXPECT_EQ(text("txtFacilityCode"), "") << "a failed step empties the facility box";
    retype("txtFacilityCode", "3");
    retype("txtBoxSerialNo", "12");
    retype("txtVersion", "x");
    EXPECT_EQ(text("txtVersion"), "0");
    retype("txtVersion", "2");
    EXPECT_EQ(text("txtBoxProxData"), "0002000030000014");
}

TEST_F(DataInput, EnterRunsItsStepsTwiceAndHandsOKAnyResultButTheNoResultValue) {
    clickFormat("opt26Bit");
    retype("txtFacilityCode", "255");
    retype("txtBoxSerialNo", "1");
    press(Qt::Key_Return);
    EXPECT_EQ(focusName(), "cmdOK");
    retype("txtFacilityCode", "");
    retype("txtBoxSerialNo", "abc");  // stays until its next change
    EXPECT_EQ(messages.take(), QStringList{"Invalid Serial Number"});
    click(box("txtBoxSerialNo"));
    press(Qt::Key_Enter);
    EXPECT_EQ(messages.take(), QStringList(2, "Invalid Serial Number"));
    EXPECT_EQ(text("txtBoxProxData") + focusName(), "cmdOK") << "only the no-result value holds OK";
}

TEST_F(DataInput, ConvertFillsEmptyBoxesFirstAndThenDecidesAboutOK) {
    clickFormat("optProxif");
    retype("txtBoxSerialNo", "12");
    retype("txtFacilityCode", "");
    retype("txtVersion", "");
    for (const char* version : {"", "0", "0"}) {
        EXPECT_FALSE(control("cmdOK")->isEnabled());
        click("cmdConvert");
        EXPECT_EQ(texts({"txtFacilityCode", "txtVersion"}), QString("0|") + version);
    }
    EXPECT_EQ(focusName() + text("txtBoxProxData"), "cmdOK0000000000000014");
}

using FormatSelection = WindowTest;

TEST_F(FormatSelection, AClickRecalculatesOnceAHotstampIsThereAndProxifFillsTheVersion) {
    retype("txtVersion", "");
    retype("txtBoxProxData", "typed by hand");
    clickFormat("opt26Bit");
    EXPECT_EQ(text("txtBoxProxData"), "typed by hand");
    retype("txtFacilityCode", "1");
    retype("txtBoxSerialNo", "1");
    retype("txtBoxProxData", "");
    clickFormat("opt26Bit");
    EXPECT_EQ(text("txtBoxProxData"), "") << "the button already on ran its click";
    clickFormat("optProxif");
    EXPECT_EQ(texts({"txtVersion", "txtBoxProxData"}), "0|0000000010000001");
}

TEST_F(WindowTest, SplitDataFillsEveryBoxAndAnyChangeOfTheCardDataEmptiesThem) {
    const auto results = [this] {
        QString all;
        for (QLineEdit* box : control("SplitDataPage")->findChildren<QLineEdit*>()) {
            if (box->objectName() != "txtData" && box->objectName() != "LuidEntry")
                all += box->text();
        }
        return all;
    };
    showPage(1);
    retype("txtData", "12345678");
    click("cmdStart");
    EXPECT_EQ(results() + text("txtData"), "12345678") << "a split that fails keeps the card data";
    retype("txtData", "0000000600400002");
    press(Qt::Key_Return);  // in the card data box, Split Data
    EXPECT_EQ(texts({"txtBits", "txt26Num", "txt26Fac", "txt34Num", "txt37Number", "txtProxifFac",
                     "txtProxifVer"}),
              "000000000000000000000110000000100000000000000010|1|1|Not 34 Bit|Not 37 Bit|48|0");
    QTest::keyClick(box("txtData"), Qt::Key_Backspace);
    EXPECT_EQ(results(), "");
}

// The real boxes are modal: show() returns once the box is answered.
TEST(QtMessageBoxes, ShowReturnsOnceTheBoxIsAnswered) {
    QString shown;
    QTimer answer;
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            shown = box->windowTitle() + "|" + box->text();
            box->done(0);
        }
    });
    answer.start(10);
    QtMessageBoxes().show(nullptr, Message{.text = "Invalid Serial Number"});
    EXPECT_EQ(shown, "Morvane|Invalid Serial Number");
}

// Qt and the reader host want a runtime folder nobody else can enter. Where none is named, the
// shared one of this user's is taken only when it is a real folder of ours with mode 0700;
// otherwise a fresh one, said once, lasts for the run.
TEST(RuntimeFolder, TheSharedOneOnlyWhenPrivateElseAFreshOneForTheRun) {
    namespace fs = std::filesystem;
    const QByteArray saved = qgetenv("XDG_RUNTIME_DIR");
    const std::string shared = ::testing::TempDir() + "morvane-shared-runtime";
    const struct {
        const char *named, *make;  // the shell sees the shared folder's name as $0
        bool fresh;
    } cases[] = {
        {"/elsewhere", "", false},
        {"", "", false},
        {"", "mkdir -m 777 $0", true},
        {"", "touch $0", true},
        {"", "mkdir -m 700 $0.d && ln -s $0.d $0", true},
        // Another user's where the test may give it away; one that others may read elsewhere.
        {"", "mkdir -m 700 $0 && { chown 65534 $0 || chmod 755 $0; }", true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.make);
        runProcess("/bin/sh", {"-c", std::string("rm -rf $0 $0.d; ") + c.make, shared});
        qputenv("XDG_RUNTIME_DIR", c.named);
        ::testing::internal::CaptureStderr();
        std::string given;
        {
            const RuntimeFolder folder(shared);
            given = qgetenv("XDG_RUNTIME_DIR").toStdString();
            const fs::file_status st = fs::symlink_status(given);
            EXPECT_TRUE(c.fresh ? is_directory(st) && st.permissions() == fs::perms::owner_all
                                : given == (*c.named ? c.named : shared))
                << given;
        }
        const std::string said = ::testing::internal::GetCapturedStderr();
        EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), c.fresh ? 1 : 0);
        EXPECT_FALSE(c.fresh && fs::exists(given));
    }
    runProcess("/bin/sh", {"-c", "rm -rf $0 $0.d", shared});
    qputenv("XDG_RUNTIME_DIR", saved);
}

// Away from X the toolkit's own clipboard carries the text; one over the limit reads as none.
TEST(SystemClipboard, OffX11TheToolkitCarriesTheTextUpToTheLimit) {
    SystemClipboard clipboard{QString()};
    QWidget window;
    for (const auto size : {kMaxClipboardText, kMaxClipboardText + 1}) {
        const std::string text(size, '7');
        EXPECT_TRUE(clipboard.placeText(QString::fromStdString(text)));
        clipboard.readStartUpText(window, [&](const ClipboardRead& read) {
            EXPECT_EQ(read.text, size == kMaxClipboardText ? text : "");
        });
    }
}

// On Wayland a result outlives Morvane only through wl-copy, and where the compositor offers no
// clipboard the start-up read says it could not read one.
TEST(SystemClipboard, OnWaylandOnlyWlCopyKeepsTheResult) {
    const QByteArray path = qgetenv("PATH");
    SystemClipboard clipboard{QString(), QStringLiteral("wayland")};
    for (const auto& [searched, keeps] : {std::pair("/nonexistent", false), {"/usr/bin", true}}) {
        qputenv("PATH", searched);
        EXPECT_EQ(clipboard.keepsTextAfterExit(), keeps) << searched;
    }
    qputenv("PATH", path);
    QWidget window;
    bool answered = true;
    clipboard.readStartUpText(window, [&](const ClipboardRead& read) { answered = read.answered; });
    EXPECT_FALSE(answered);
}

}  // namespace
}  // namespace morvane::test
