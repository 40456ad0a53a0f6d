#pragma once

#include <QString>
#include <QWidget>
#include <functional>
#include <optional>

#include "formats/card_explain.h"

namespace morvane {

// A strip that draws card data bit by bit, each bit on the colour of its role under one
// format with the role's letter below it, every fourth bit's number above it, and a caret under
// every bit the broken rule names; a bit's tooltip gives its number and role.
// Letters and carets carry everything the colours do, for readers who cannot tell them apart.
// Its accessible description is what it draws, as text: the caption (format and verdict), the
// bits, the role letters and any carets, one line each.
class BitMapView : public QWidget {
  public:
    explicit BitMapView(QWidget* parent = nullptr);

    // The caption reads "<name>: <verdict>".
    // The first line is the name and the verdict, or, with a `lead`, the lead and the verdict.
    void showMap(const QString& name, CardWord w, const CardExplanation& e,
                 const QString& lead = {});
    void showHint(const QString& hint);

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

    // The arrow keys ask for the previous (-1) or next (+1) format.
    std::function<void(int)> onStep;

  protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    int cellWidth() const;
    int rowHeight() const;
    void setShown(const QString& caption, const QString& bits, const QString& letters);
    void paintCells(QPainter& painter) const;

    QString caption_;
    QString bits_;     // leading bit first
    QString letters_;  // the role letter under each bit
    CardExplanation explanation_;
};

}  // namespace morvane
