// The Split Data page, driven through the real window and checked against morvane-cli split.
#include <QTabWidget>
#include <map>
#include <nlohmann/json.hpp>
#include <string>

#include "app/window_fixture.h"
#include "formats/split_data.h"
#include "support/run_process.h"

namespace morvane::test {
namespace {

class SplitPage : public WindowTest {
  protected:
    void SetUp() override {
        WindowTest::SetUp();
        control<QTabWidget>("SSTab1")->setCurrentIndex(1);
    }
    void split(const QString& cardData) {
        retype("txtData", cardData);
        click(control<QPushButton>("cmdStart"));
    }
    // The 21 boxes a change of the card data empties, with their texts.
    std::map<std::string, QString> results() const {
        std::map<std::string, QString> texts;
        for (std::string_view name : clearedBoxNames()) {
            texts[std::string(name)] = text(std::string(name).c_str());
        }
        return texts;
    }
    bool allResultsEmpty() const {
        for (const auto& [name, value] : results()) {
            if (!value.isEmpty()) return false;
        }
        return true;
    }
};

TEST_F(SplitPage, AgreesWithTheCommandLineBoxForBox) {
    for (const char* cardData :
         {"0000000600400002", "0000000475460163", "0000201730060163", "0000601730060162",
          "0000401730060163", "0000007540140346", "0001000755060162", "0000000000060163",
          "0005001730030071", "0173000000030071", "0377037777777777", "7", "", "12345678",
          "600400002 ", "00000006004000o2", "7777777777777777"}) {
        const auto cli = runProcess(MORVANE_CLI, {"split", "--json", cardData});
        ASSERT_FALSE(cli.out.empty()) << cardData << ": " << cli.err;
        const auto expected = nlohmann::json::parse(cli.out);

        split(QString::fromUtf8(cardData));
        EXPECT_EQ(text("txtData"), cardData);
        EXPECT_EQ(text("txtBits").toStdString(), expected["bit_data"]) << cardData;
        std::size_t compared = 0;
        for (const auto& [name, value] : expected["boxes"].items()) {
            EXPECT_EQ(text(name.c_str()).toStdString(), value.get<std::string>())
                << cardData << " " << name;
            ++compared;
        }
        EXPECT_EQ(compared, kResultBoxCount);
    }
    EXPECT_TRUE(messages.shown.empty());
}

TEST_F(SplitPage, TheWorkedExampleShowsHotstampAndFacilityUnderTwentySixBits) {
    split("0000000600400002");
    EXPECT_EQ(text("txtBits"), "000000000000000000000110000000100000000000000010");
    EXPECT_EQ(text("txt26Num"), "1");
    EXPECT_EQ(text("txt26Fac"), "1");
    EXPECT_EQ(text("txt34Num"), "Not 34 Bit");
    // The Casi column is filled but never shown.
    EXPECT_FALSE(text("txtCasiNum").isEmpty());
    EXPECT_FALSE(box("txtCasiNum")->isVisible());
}

TEST_F(SplitPage, AnInvalidCharacterLeavesEverythingEmptyAndTheCardDataAsTyped) {
    split("0000000600400002");
    ASSERT_FALSE(allResultsEmpty());
    split("12345678");
    EXPECT_TRUE(allResultsEmpty());
    EXPECT_EQ(text("txtData"), "12345678");
}

TEST_F(SplitPage, AnyEditOfTheCardDataEmptiesTheResultsAtOnce) {
    split("0000000600400002");
    QTest::keyClick(box("txtData"), Qt::Key_Backspace);
    EXPECT_TRUE(allResultsEmpty());
    split("0000000600400002");
    box("txtData")->setText("0000000475460163");  // as a reader writes it
    EXPECT_TRUE(allResultsEmpty());
    // A hand-typed bit data box goes too.
    typeInto("txtBits", "101");
    click(box("txtData"));
    QTest::keyClick(box("txtData"), Qt::Key_Backspace);
    EXPECT_EQ(text("txtBits"), "");
}

TEST_F(SplitPage, SplittingTwiceRebuildsTheSameDisplay) {
    split("0000000475460163");
    const auto first = results();
    click(control<QPushButton>("cmdStart"));
    EXPECT_EQ(results(), first);
    EXPECT_EQ(text("txtBits").size(), 48);
}

TEST_F(SplitPage, TheCardDataBoxTakesSixteenCharacters) {
    typeInto("txtData", "00000006004000021");
    EXPECT_EQ(text("txtData"), "0000000600400002");
}

}  // namespace
}  // namespace morvane::test
