// The bit map: why the split card data is or is not the chosen format's credential, and where
// the values of the prox data being built sit.
#include <QFontMetrics>
#include <QImage>
#include <QLabel>
#include <QToolTip>

#include <tuple>

#include "app/window_fixture.h"

namespace morvane::test {
namespace {

class BitMap : public WindowTest {
  protected:
    QString shown() const { return mapCaption(); }
    // Whether a pixel of the map, in rows `top` to `bottom`, passes the test.
    template <typename Test>
    bool drawn(Test test, int top = 0, int bottom = 1 << 20, int left = 0,
               int right = 1 << 20) const {
        const QImage image = control("bitMap")->grab().toImage();
        for (int y = top; y < std::min(bottom, image.height()); ++y) {
            for (int x = left; x < std::min(right, image.width()); ++x) {
                if (test(image.pixel(x, y))) return true;
            }
        }
        return false;
    }
    static auto colour(QRgb wanted) {
        return [wanted](QRgb pixel) { return (pixel & 0xffffff) == wanted; };
    }
    // Whether text stands on the map's line (caption, bits, letters, carets, legend).
    bool textOnLine(int line) const {
        const int height = QFontMetrics(control("bitMap")->font()).height() + 2;
        return drawn([](QRgb pixel) { return qGray(pixel) < 100; }, 4 + line * height,
                     4 + (line + 1) * height);
    }
    QLabel* heading(const QString& caption) const {
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->text() == caption) return label;
        }
        ADD_FAILURE() << "no heading " << caption.toStdString();
        return nullptr;
    }
};

TEST_F(BitMap, FollowsTheChosenColumnTellsRefusalsOnHoverAndMapsTheProxDataBeingBuilt) {
    showPage(1);
    retype("txtData", "0000000600400003");
    click("cmdStart");
    const QString trailing = "parity bit 0 is 1 but must make bits 12..0 odd";
    // Every format it passes is as likely as the next: each says so first.
    const QString kTie = "most likely 36 Bit V, 37 Bit V, 37 Bit, Proxif or Casi: nothing in the card data tells them apart. ";
    QWidget* map = control("bitMap");
    EXPECT_EQ(map->accessibleName(), "Bit map");
    click(heading("26 Bit"));
    EXPECT_EQ(map->accessibleDescription(),
              "Not 26 Bit: " + trailing +
                  "\n000000000000000000000110000000100000000000000011"
                  "\nxxxxxxxxxxxxxxxxxxxxxSPFFFFFFFFIIIIIIIIIIIIIIIIP"
                  "\n" + QString(47, ' ') + '^');
    // Below the pages, above the end buttons.
    const QWidget* shownPart = map->parentWidget();
    const int top = shownPart->mapTo(window.get(), QPoint()).y();
    EXPECT_GT(top, control("SSTab1")->geometry().bottom());
    EXPECT_LT(top + shownPart->height(), control("cmdOK")->y());
    EXPECT_EQ(box("txt26Num")->toolTip(), trailing);
    EXPECT_EQ(box("txt37Number")->toolTip(), "");
    EXPECT_EQ(box("txt34Num")->toolTip(), "sentinel bit 34 is 0");
    constexpr QRgb kFailingMark = 0xd55e00, kHotstamp = 0x7fd0b8;
    EXPECT_TRUE(drawn(colour(kFailingMark)));
    EXPECT_TRUE(drawn(colour(kHotstamp)));
    for (int line : {0, 1, 2, 3, 5}) EXPECT_TRUE(textOnLine(line)) << line;
    // Each bit tells its number and role on hover: here the leading parity bit, 25.
    const int cell = QFontMetrics(map->font()).horizontalAdvance('0') + 5;
    const int row = QFontMetrics(map->font()).height() + 2;
    QHelpEvent hover(QEvent::ToolTip, QPoint(4 + 22 * cell + 2, 4 + 2 * row + 2),
                     map->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(map, &hover);
    EXPECT_EQ(QToolTip::text(), "bit 25: leading parity");
    QHelpEvent offTheBits(QEvent::ToolTip, QPoint(4 + 22 * cell + 2, 4 + row / 2),
                          map->mapToGlobal(QPoint(0, 0)));
    QApplication::sendEvent(map, &offTheBits);
    EXPECT_FALSE(offTheBits.isAccepted()) << "a tooltip above the bits";
    const auto orange = [](QRgb pixel) { return qRed(pixel) > 150 && qBlue(pixel) < 80; };
    EXPECT_TRUE(drawn(orange, 4 + 4 * row, 4 + 5 * row)) << "no caret";
    // Every fourth bit is numbered above it: bit 8 is, bit 6 is not.
    const auto numbered = [&](int bit) {
        const int left = 4 + (47 - bit) * cell;
        return drawn([](QRgb pixel) { return qGray(pixel) < 160; }, 4 + row, 4 + 2 * row, left,
                     left + cell);
    };
    EXPECT_TRUE(numbered(8) && !numbered(6));

    click(heading("35 Bit"));
    EXPECT_EQ(shown(), "Not 35 Bit: sentinel bit 35 is 0");
    click(box("txt37Number"));
    EXPECT_LT(box("txt37Number")->cursorPosition(), 8);  // the press still reaches the box
    EXPECT_EQ(shown(), kTie + "Hotstamp No.: 65537, Facility Code: 96, No Facility: 50397185");
    EXPECT_FALSE(drawn(colour(kFailingMark)));
    click("bitMap");
    press(Qt::Key_Right);
    EXPECT_EQ(shown(), kTie + "Hotstamp No.: 131075, Facility Code: 48, Version: 0");
    press(Qt::Key_Down);  // the hidden Casi column is passed over
    EXPECT_EQ(shown(), "Not 26 Bit: " + trailing);
    press(Qt::Key_Left);
    press(Qt::Key_Up);
    EXPECT_EQ(shown(), kTie + "Hotstamp No.: 65537, Facility Code: 96, No Facility: 50397185");

    retype("txtData", "0000000600400002");
    EXPECT_EQ(shown(), "Bit map: shown here after Split Data");
    EXPECT_EQ(box("txt26Num")->toolTip(), "");

    showPage(0);
    clickFormat("opt37Bit");
    retype("txtFacilityCode", "123");
    retype("txtBoxSerialNo", "12345");
    EXPECT_EQ(shown(), "37-bit, 16-bit facility code: Hotstamp No.: 12345, Facility Code: 123");
    clickFormat("opt37bitV");  // the same prox data under another format
    EXPECT_EQ(shown(), "37 Bit Vorta ID: Hotstamp No.: 12345, Facility Code: 123");
    retype("txtBoxSerialNo", "");
    EXPECT_EQ(shown(), "Bit map: shown here once there is prox data");
}

// After Split Data, Enter in the card data box, the map opens on the format the card data most
// likely is (of a tie, the first in the grid's order), saying why, its heading marked; card data
// that cannot be split says why not.
TEST_F(BitMap, OpensOnTheMostLikelyFormatOrSaysWhyTheCardDataCannotBeSplit) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"0000000600400002",
         "most likely 26 Bit: the sentinel at bit 26 and nothing above it. Hotstamp No.: 1, "
         "Facility Code: 1",
         "lbl26Bit"},
        {"0000000600400003", "most likely 36 Bit V, 37 Bit V, 37 Bit, Proxif or Casi: nothing in the card data tells them apart. " "Hotstamp No.: 32768, Facility Code: 12",
         "Label4"},
        {"7777777777777777", "Not 26 Bit: bits 47..27 lie above the 26-bit frame and are 1",
         "lbl26Bit"},
        {"12a45", "Card data not split: \"a\" at character 3 is not an octal digit", ""},
        {" 12", "Card data not split: \" \" at character 1 is not an octal digit", ""},
        {"18", "Card data not split: \"8\" at character 2 is not an octal digit", ""},
    };
    showPage(1);
    click(heading("Proxif"));
    for (const auto& [cardData, caption, marked] : cases) {
        retype("txtData", cardData);
        press(Qt::Key_Return);
        QStringList bold;
        for (QLabel* label : window->findChildren<QLabel*>()) {
            if (label->font().bold()) bold << label->objectName();
        }
        EXPECT_EQ(shown() + "|" + bold.join(","), QString(caption) + "|" + marked) << cardData;
    }
    EXPECT_EQ(text("txtBits") + text("txt26Num"), "");
    EXPECT_TRUE(messages.shown.empty());
    // A heading acts as a button from the keyboard, and shows it can be pressed.
    QLabel* proxif = heading("Proxif");
    EXPECT_EQ(proxif->cursor().shape(), Qt::PointingHandCursor);
    retype("txtData", "0000000600400002");
    press(Qt::Key_Return);
    proxif->setFocus();
    press(Qt::Key_Space);
    EXPECT_EQ(shown(), "Proxif: Hotstamp No.: 131074, Facility Code: 48, Version: 0");
}

}  // namespace
}  // namespace morvane::test
