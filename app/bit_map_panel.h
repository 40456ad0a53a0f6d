#pragma once

#include <QScrollArea>
#include <cstdint>
#include <string>

#include "formats/card_explain.h"

namespace morvane {

class BitMapView;
struct CardCheck;

// The bit map under the tab control, following the page on show: on "Split Data" the split card
// data under the column the page chose, or why the card data could not be split; on "Data
// Input" the prox data being built under the selected format. Where the window is small, it
// scrolls.
class BitMapPanel : public QScrollArea {
    Q_OBJECT

  public:
    explicit BitMapPanel(QWidget* parent = nullptr);

    // `mostLikely`, when given, says why the card data is most likely this format.
    void explainColumn(const QString& cardData, SplitFormatId column, const QString& mostLikely);
    void explainRefusal(const QString& reason);
    void clearSplit();
    void explainBuilt(const QString& proxData, const std::string& cardFormat,
                      std::int32_t facilityCode);
    // The built prox data again, with the bits that differ from the card marked and the
    // check's summary as the first line.
    void explainCheck(const CardCheck& check);
    void showSplitPage(bool splitPage);
    // The whole map where there is room; a few rows where there is not.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // The map itself, the tab stop.
    QWidget* map() const;

  signals:
    // The arrow keys on the Split Data page's map: the previous (-1) or next (+1) column.
    void stepRequested(int delta);

  private:
    // What one page's map shows: a hint, or card data under a format.
    struct Content {
        QString caption;
        CardWord word;
        CardExplanation explanation;
        bool isMap = false;
        QString lead;  // why the card data is most likely this format
    };
    void refresh();

    BitMapView* view_;
    Content split_;
    Content built_;
    bool splitPage_ = false;
};

}  // namespace morvane
