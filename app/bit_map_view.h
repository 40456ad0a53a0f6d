#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "formats/card_explain.h"

namespace morvane {

// A strip that draws card data bit by bit, each bit on the colour of its role under one
// format with the role's letter below it, and a caret under every bit the broken rule names.
// Letters and carets carry everything the colours do, for readers who cannot tell them apart.
// Its accessible description is the caption it draws: format name and verdict.
class BitMapView : public QWidget {
  public:
    explicit BitMapView(QWidget* parent = nullptr);

    // The caption reads "<name>: <verdict>".
    void showMap(const QString& name, CardWord w, const CardExplanation& e);
    void showHint(const QString& hint);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The arrow keys ask for the previous (-1) or next (+1) format.
    std::function<void(int)> onStep;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    struct Shown {
        CardWord word;
        CardExplanation explanation;
    };

    int cellWidth() const;
    int rowHeight() const;
    void setCaption(const QString& caption);
    void paintCells(QPainter& painter, const Shown& shown) const;

    QString caption_;
    std::optional<Shown> shown_;
};

}  // namespace morvane
