#include "app/bit_map_view.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QPainter>
#include <QToolTip>
#include <QStyleOption>
#include <QStylePainter>
#include <array>

#include "app/qt_text.h"

namespace morvane {

namespace {

constexpr int kMargin = 4;
// Caption, bit numbers, bits, role letters, carets, legend.
constexpr int kRows = 6;
constexpr int kBitsRow = 2;
// Every fourth bit is numbered above the map.
constexpr int kNumberedEvery = 4;

// Light tints of a palette that stays distinct under the common colour-vision deficiencies
// (Okabe and Ito), so that the black digits on them stay readable. Indexed by BitRole.
const std::array<QColor, 11> kRoleColours{
    QColor(0xff, 0xff, 0xff),  // unused
    QColor(0xee, 0xee, 0xee),  // above the frame
    QColor(0xf0, 0xe4, 0x42),  // sentinel
    QColor(0xf5, 0xcc, 0x7a),  // leading parity
    QColor(0xf5, 0xcc, 0x7a),  // other parity
    QColor(0xf5, 0xcc, 0x7a),  // trailing parity
    QColor(0xa9, 0xd8, 0xf5),  // facility
    QColor(0x7f, 0xd0, 0xb8),  // hotstamp
    QColor(0xe6, 0xb8, 0xd2),  // version
    QColor(0xc8, 0xc8, 0xc8),  // fixed 0
    QColor(0xc8, 0xc8, 0xc8),  // fixed 1
};
// What each role means to a reader of one bit's tooltip. Indexed by BitRole.
const std::array<const char*, 11> kRoleNames{
    "not read",        "above the frame, must be 0", "sentinel", "leading parity", "parity",
    "trailing parity", "facility code",              "hotstamp", "version",        "fixed 0",
    "fixed 1",
};
const QColor kFailing(0xd5, 0x5e, 0x00);
const QColor kLegendText(0x55, 0x55, 0x55);

const QString kLegend = QStringLiteral(
    "P parity  F facility  I hotstamp  V version  S sentinel  0 1 fixed  x must be 0  - not read");

}  // namespace

BitMapView::BitMapView(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("bitMap"));
    setAccessibleName(QStringLiteral("Bit map"));
    setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

int BitMapView::cellWidth() const { return fontMetrics().horizontalAdvance(QLatin1Char('0')) + 5; }

int BitMapView::rowHeight() const { return fontMetrics().height() + 2; }

QSize BitMapView::sizeHint() const {
    const int legend = fontMetrics().horizontalAdvance(kLegend);
    return {std::max(kProxWordBits * cellWidth(), legend) + 2 * kMargin,
            kRows * rowHeight() + 2 * kMargin};
}

QSize BitMapView::minimumSizeHint() const { return sizeHint(); }

void BitMapView::setShown(const QString& caption, const QString& bits, const QString& letters) {
    caption_ = caption;
    bits_ = bits;
    letters_ = letters;
    QString description = caption;
    if (!bits.isEmpty()) description += '\n' + bits + '\n' + letters;
    // The carets, as drawn under the letters, where there are any.
    QString carets;
    for (int i = 0; i < bits.size(); ++i) {
        carets += (explanation_.failingBits & bitAt(explanation_.length - 1 - i)) != 0 ? '^' : ' ';
    }
    while (carets.endsWith(' ')) carets.chop(1);
    if (!carets.isEmpty()) description += '\n' + carets;
    setAccessibleDescription(description);
    update();
}

void BitMapView::showMap(const QString& name, CardWord w, const CardExplanation& e,
                         const QString& lead) {
    explanation_ = e;
    QString bits;
    for (int p = e.length - 1; p >= 0; --p) bits += (w.bits & bitAt(p)) != 0 ? '1' : '0';
    const QString first = lead.isEmpty() ? name + QStringLiteral(": ") : lead + QStringLiteral(". ");
    setShown(first + toQt(e.verdict), bits, toQt(roleLetters(e)));
}

void BitMapView::showHint(const QString& hint) {
    explanation_ = {};
    setShown(hint, {}, {});
}

void BitMapView::paintCells(QPainter& painter) const {
    const CardExplanation& e = explanation_;
    const int cw = cellWidth();
    const int rh = rowHeight();
    const QPen plain(palette().color(QPalette::Mid));
    for (int i = 0; i < bits_.size(); ++i) {
        const int p = e.length - 1 - i;
        const BitRole role = e.roles[static_cast<std::size_t>(p)];
        const bool failing = (e.failingBits & bitAt(p)) != 0;
        const QRect bit(kMargin + i * cw, kMargin + kBitsRow * rh, cw, rh);
        if (p % kNumberedEvery == 0) {
            painter.setPen(kLegendText);
            painter.drawText(bit.translated(0, -rh).adjusted(-cw, 0, cw, 0), Qt::AlignCenter,
                             QString::number(p));
        }
        const QRect letter = bit.translated(0, rh);
        painter.fillRect(bit.united(letter), kRoleColours[static_cast<std::size_t>(role)]);
        painter.setPen(failing ? QPen(kFailing, 2) : plain);
        painter.drawRect(bit.united(letter).adjusted(0, 0, -1, -1));
        painter.setPen(Qt::black);
        painter.drawText(bit, Qt::AlignCenter, QString(bits_[i]));
        painter.drawText(letter, Qt::AlignCenter, QString(letters_[i]));
        if (failing) {
            painter.setPen(kFailing);
            painter.drawText(letter.translated(0, rh), Qt::AlignCenter, QStringLiteral("^"));
        }
    }
}

void BitMapView::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    const int rh = rowHeight();
    const QRect line(kMargin, kMargin, width() - 2 * kMargin, rh);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, caption_);
    paintCells(painter);
    painter.setPen(kLegendText);
    painter.drawText(line.translated(0, (kRows - 1) * rh), Qt::AlignLeft | Qt::AlignVCenter,
                     kLegend);
    if (hasFocus()) {
        QStyleOptionFocusRect focus;
        focus.initFrom(this);
        painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
    }
}

// Each bit tells its number and its role on hover.
bool BitMapView::event(QEvent* event) {
    if (event->type() != QEvent::ToolTip) return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int rh = rowHeight();
    const int i = (help->pos().x() - kMargin) / cellWidth();
    const int row = (help->pos().y() - kMargin) / rh;
    if (help->pos().x() < kMargin || i >= bits_.size() || row < kBitsRow || row > kBitsRow + 1) {
        QToolTip::hideText();
        event->ignore();
        return true;
    }
    const int p = explanation_.length - 1 - i;
    const auto role = static_cast<std::size_t>(explanation_.roles[static_cast<std::size_t>(p)]);
    QToolTip::showText(help->globalPos(),
                       QStringLiteral("bit %1: %2").arg(p).arg(QLatin1String(kRoleNames[role])),
                       this);
    return true;
}

void BitMapView::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Left:
        case Qt::Key_Up:
            if (onStep) onStep(-1);
            break;
        case Qt::Key_Right:
        case Qt::Key_Down:
            if (onStep) onStep(1);
            break;
        default:
            QWidget::keyPressEvent(event);
    }
}

}  // namespace morvane
