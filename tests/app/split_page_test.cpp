// The Split Data page, driven through the real window.
#include <QTabWidget>

#include "app/window_fixture.h"
#include "formats/split_catalogue.h"

namespace morvane::test {
namespace {

class SplitPage : public WindowTest {
  protected:
    void split(const QString& cardData) {
        retype("txtData", cardData);
        click(control("cmdStart"));
    }
    QStringList results() const {
        QStringList texts;
        for (std::string_view name : clearedBoxNames()) {
            texts << text(std::string(name).c_str());
        }
        return texts;
    }
};

TEST_F(SplitPage, SplitDataFillsEveryBoxAndAnyChangeOfTheCardDataEmptiesThem) {
    const QStringList empty(static_cast<qsizetype>(clearedBoxNames().size()), QString());
    control<QTabWidget>("SSTab1")->setCurrentIndex(1);
    split("0000000600400002");
    EXPECT_EQ(text("txtBits"), "000000000000000000000110000000100000000000000010");
    EXPECT_EQ(text("txt26Num"), "1");
    EXPECT_EQ(text("txt26Fac"), "1");
    EXPECT_EQ(text("txt34Num"), "Not 34 Bit");
    ASSERT_NE(results(), empty);

    QTest::keyClick(box("txtData"), Qt::Key_Backspace);
    EXPECT_EQ(results(), empty);
    split("12345678");
    EXPECT_EQ(results(), empty);
    EXPECT_EQ(text("txtData"), "12345678");
}

}  // namespace
}  // namespace morvane::test
