#pragma once

#include <QObject>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace Ui {
class frmMorvane;
}

class QWidget;

namespace morvane {

class BitMapView;

// The bit map under the tab control, following the page on show: on "Split Data" the split card
// data under the format the operator chose by clicking its column or with the arrow keys, on
// "Data Input" the prox data being built under the selected format. It also gives every
// refusal box the reason for its refusal as a tooltip. Nothing it does reaches back into the
// window's controls, boxes or state.
class BitMapPanel : public QObject {
  public:
    // The card format code and facility code name the layout the Data Input page builds; both
    // belong to the window, which outlives the panel.
    BitMapPanel(Ui::frmMorvane& ui, const std::string& cardFormat, const std::int32_t& facilityCode,
                QWidget* window);

    void showSplit();     // after Split Data
    void clearSplit();    // the card data changed
    void refreshBuilt();  // the prox data was calculated again

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void watchColumns(QWidget* window);
    void choose(std::size_t column);
    void step(int delta);
    void showPage();
    void setRefusalTips();

    Ui::frmMorvane& ui_;
    QWidget* window_;
    const std::string& cardFormat_;
    const std::int32_t& facilityCode_;
    BitMapView* view_;
    std::optional<std::string> splitCardData_;  // as it stood when it was split
    std::size_t chosen_ = 0;                    // a Split Data column
    std::vector<std::pair<QObject*, std::size_t>> columnWidgets_;
};

}  // namespace morvane
