// The Batch page driven through its controls: the rows it builds, what it exports and copies.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QLabel>
#include <QRadioButton>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <sstream>

#include "app/batch_page.h"
#include "app/qt_text.h"
#include "app/window_state.h"
#include "support/run_process.h"

namespace morvane {
namespace {

template <typename Control>
Control* control(QWidget& page, const QString& accessibleName) {
    for (Control* c : page.findChildren<Control*>()) {
        if (c->accessibleName() == accessibleName) return c;
    }
    ADD_FAILURE() << "no control named " << accessibleName.toStdString();
    return nullptr;
}

struct HandedReads : CardReads {  // hands over the reading it holds at once, as a lock may
    CardReading next;
    std::optional<CardSource> asked;
    bool read(CardSource source, CardReadingDone done) override {
        asked = source;
        done(next);
        return true;
    }
};

struct BatchPageTest : ::testing::Test {
    QStringList copied;
    QString savePath;
    HandedReads reads;
    WindowState window;
    BatchPage page{reads, window, {[this](QWidget&) { return savePath; },
                                  [this](const QString& text) {
                                      copied << text;
                                      return true;
                                  }}};

    void choose(const char* code, int facility) {
        auto* format = control<QComboBox>(page, "Card format");
        format->setCurrentIndex(format->findData(QString::fromLatin1(code)));
        control<QSpinBox>(page, "Facility code")->setValue(facility);
    }
    void typeRange(const char* from, const char* to) {
        QTest::keyClicks(control<QLineEdit>(page, "First hotstamp"), from);
        QTest::keyClicks(control<QLineEdit>(page, "Last hotstamp"), to);
        page.rebuildNow();
    }
    QString status() const {
        for (QLabel* l : page.findChildren<QLabel*>()) {
            if (l->wordWrap()) return l->text();
        }
        return "no status line";
    }
    std::vector<std::string> column(int c) const {
        std::vector<std::string> values;
        for (const ConvertedRow& row : page.table().rows())
            values.push_back(c == 0 ? row.hotstamp : std::string(row.proxData.view()));
        return values;
    }
};

TEST_F(BatchPageTest, ARangeOrAPastedListBuildsTheRowsAndABadRangeSaysWhy) {
    EXPECT_TRUE(control<QRadioButton>(page, "Hotstamp range")->isChecked()) << "opens on a range";
    choose("26", 12);
    typeRange("7", "9");
    EXPECT_EQ(column(0), (std::vector<std::string>{"7", "8", "9"}));
    control<QPlainTextEdit>(page, "Hotstamps, one per line")->setPlainText("Hotstamp\n70000\n\n5");
    page.rebuildNow();
    EXPECT_EQ(column(0), (std::vector<std::string>{"70000", "5"}));
    EXPECT_EQ(page.table().rows()[0].messages, "Hotstamp 70000 is too large. 65535 is max.");
    control<QLineEdit>(page, "First hotstamp")->clear();
    control<QLineEdit>(page, "Last hotstamp")->clear();
    typeRange("9", "");
    EXPECT_TRUE(page.table().rows().empty());
    EXPECT_EQ(status(), "") << "a range half typed is no mistake yet";
    EXPECT_FALSE(control<QPushButton>(page, "Export every row as CSV")->isEnabled());
    typeRange("", "5");
    EXPECT_EQ(status(), "9 is above 5");
}

// The export is the command line's own CSV, and its prox data split back to its hotstamps.
TEST_F(BatchPageTest, ExportIsConvertsCsvAndSplitsBackToTheSameHotstamps) {
    choose("37", 300);
    typeRange("65530", "65540");
    QTemporaryDir dir;
    savePath = dir.filePath("box.csv");
    QTest::mouseClick(control<QPushButton>(page, "Export every row as CSV"), Qt::LeftButton);
    QFile file(savePath);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const std::string exported = file.readAll().toStdString();
    EXPECT_EQ(status(), "11 rows exported to " + savePath);

    std::string hotstamps;
    for (const std::string& h : column(0)) hotstamps += h + "\n";
    const auto cli = test::runProcess(
        MORVANE_CLI, {"convert", "--csv", "--format", "37", "--facility", "300"}, hotstamps);
    EXPECT_EQ(exported, cli.out);

    std::string proxData;
    for (const std::string& p : column(1)) proxData += p + "\n";
    const auto split = test::runProcess(MORVANE_CLI, {"split", "--csv"}, proxData);
    // The 37 Bit hotstamp column of every row but the header; no field here holds a comma.
    std::istringstream lines(split.out);
    std::vector<std::vector<std::string>> rows;
    for (std::string line; std::getline(lines, line);) {
        std::istringstream cells(line);
        rows.emplace_back();
        for (std::string cell; std::getline(cells, cell, ',');) rows.back().push_back(cell);
    }
    ASSERT_FALSE(rows.empty());
    const auto field = std::find(rows[0].begin(), rows[0].end(), "37_hotstamp") - rows[0].begin();
    std::vector<std::string> back;
    for (std::size_t r = 1; r < rows.size(); ++r) back.push_back(rows[r].at(field));
    EXPECT_EQ(back, column(0));
}

TEST_F(BatchPageTest, CopyPlacesTheSelectedRowsAsTabSeparatedLines) {
    choose("26", 12);
    typeRange("1", "3");
    auto* view = control<QTableView>(page, "Converted hotstamps");
    view->selectRow(2);
    view->selectionModel()->select(view->model()->index(1, 0),
                                   QItemSelectionModel::Select | QItemSelectionModel::Rows);
    QTest::mouseClick(control<QPushButton>(page, "Copy the selected rows"), Qt::LeftButton);
    const QAbstractItemModel& table = *view->model();
    EXPECT_EQ(table.headerData(4, Qt::Horizontal).toString() + "|" + table.index(1, 4).data().toString(),
              "Prox Data|" + toQt(column(1)[1]));
    EXPECT_FALSE(table.index(1, 4).data(Qt::ToolTipRole).isValid());
    ASSERT_EQ(copied.size(), 1);
    EXPECT_EQ(status(), "Rows copied.");
    EXPECT_EQ(copied[0], toQt("2\t" + column(1)[1] + "\t\n3\t" + column(1)[2] + "\t\n"));
}

TEST_F(BatchPageTest, CardsReadAreAppendedUnderTheirMostLikelyFormatOnceEach) {
    auto* usb = control<QPushButton>(page, "Read a card from the USB reader");
    auto* lock = control<QPushButton>(page, "Read a card from the lock");
    const auto enabled = [&] { return std::pair(usb->isEnabled(), lock->isEnabled()); };
    EXPECT_EQ(enabled(), std::pair(false, true)) << "no reader found";
    window.setReaderFound(true);
    EXPECT_EQ(enabled(), std::pair(true, true));
    auto* view = control<QTableView>(page, "Converted hotstamps");
    const struct { CardReading reading; const char* status; int current; } steps[] = {
        // clang-format off
        {{"700140001262", {}, ""}, "row 1: 35 Bit, facility 12, hotstamp 345; most likely 35 Bit or 35 Bit V", 0},
        {{"400140001270", 35, ""}, "row 2: 35 Bit V, facility 12, hotstamp 348", 1},
        {{"406001262", 26, ""}, "row 3: 26 Bit, facility 12, hotstamp 345", 2},
        {{"0000700140001262", 35, ""}, "repeat of row 1", 0},
        {{"", {}, "no card"}, "could not read the card: no card", 0},
        {{"19", {}, ""}, "could not read the card: \"9\" at character 2 is not an octal digit", 0},
        {{"", {}, ""}, "could not read the card: the reader gave no card data", 0},
        {{"4000000000000000", {}, ""}, "row 4: no card format passes", 3},
        // clang-format on
    };
    for (const auto& step : steps) {
        reads.next = step.reading;
        QTest::mouseClick(step.reading.readerBitCount ? usb : lock, Qt::LeftButton);  // USB counts
        EXPECT_EQ(reads.asked, step.reading.readerBitCount ? CardSource::Usb : CardSource::Lock);
        EXPECT_EQ(status(), step.status);
        EXPECT_EQ(view->currentIndex().row(), step.current) << step.status;
    }
    EXPECT_EQ(view->model()->headerData(3, Qt::Vertical).toInt(), 4) << "as the status line counts";
    auto* format = control<QComboBox>(page, "Card format");
    EXPECT_FALSE(format->isEnabled()) << "cards read carry their own format";
    typeRange("1", "2");  // a range shown, then the last card again: the cards read are kept
    EXPECT_TRUE(format->isEnabled());
    QTest::mouseClick(lock, Qt::LeftButton);
    EXPECT_EQ(page.table().csv(),
              "hotstamp,format,facility,version,prox_data,message\r\n"
              "345,35,12,0,0000700140001262,most likely 35 Bit or 35 Bit V\r\n"
              "348,35V,12,0,0000400140001270,\r\n"
              "345,26,12,0,0000000406001262,\r\n"
              ",,,,4000000000000000,no card format passes\r\n");
    view->selectRow(1);
    QTest::mouseClick(control<QPushButton>(page, "Copy the selected rows"), Qt::LeftButton);
    EXPECT_EQ(copied.value(0), "348\t35V\t12\t0\t0000400140001270\t\n");
    window.setReaderStepRunning(true);
    EXPECT_EQ(enabled(), std::pair(false, false));
}

}  // namespace
}  // namespace morvane
