#include "app/bit_map_panel.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QTabWidget>

#include "app/bit_map_view.h"
#include "app/qt_text.h"
#include "app/split_boxes.h"
#include "formats/card_explain.h"
#include "ui_frm_morvane.h"

namespace morvane {

namespace {

std::optional<CardWord> wordOf(const std::optional<std::string>& cardData) {
    return cardData ? parseCardData(*cardData) : std::nullopt;
}

}  // namespace

BitMapPanel::BitMapPanel(Ui::frmMorvane& ui, const std::string& cardFormat,
                         const std::int32_t& facilityCode, QWidget* window)
    : QObject(window),
      ui_(ui),
      window_(window),
      cardFormat_(cardFormat),
      facilityCode_(facilityCode),
      view_(new BitMapView(window)) {
    ui.layoutWindow->insertWidget(1, view_);
    // The map's own tab stop comes after every control the window had before it.
    QWidget::setTabOrder(ui.btnReinitializeUSB, view_);
    watchColumns(window);
    connect(ui.SSTab1, &QTabWidget::currentChanged, this, [this] { showPage(); });
    connect(ui.txtBoxProxData, &QLineEdit::textChanged, this, [this] { refreshBuilt(); });
    view_->onStep = [this](int delta) { step(delta); };
    showPage();
}

// A column is its heading and its result boxes; a press on any of them chooses its format and
// goes on to do whatever the press did before.
void BitMapPanel::watchColumns(QWidget* window) {
    const auto labels = ui_.tabSplitData->findChildren<QLabel*>();
    for (const SplitColumn& column : splitColumns()) {
        if (!column.shownInWindow) continue;
        std::vector<QObject*> widgets;
        for (QLabel* label : labels) {
            if (label->text() == toQt(column.heading)) widgets.push_back(label);
        }
        for (std::string_view name : kResultBoxNames[static_cast<std::size_t>(column.id)]) {
            if (!name.empty()) widgets.push_back(window->findChild<QLineEdit*>(toQt(name)));
        }
        for (QObject* widget : widgets) {
            if (widget == nullptr) continue;
            widget->installEventFilter(this);
            columnWidgets_.emplace_back(widget, static_cast<std::size_t>(column.id));
        }
    }
}

bool BitMapPanel::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonPress) {
        for (const auto& [widget, id] : columnWidgets_) {
            if (widget == watched) choose(id);
        }
    }
    return false;
}

void BitMapPanel::choose(std::size_t column) {
    chosen_ = column;
    showPage();
}

// The arrow keys walk the columns the window shows, round from the last to the first.
void BitMapPanel::step(int delta) {
    if (ui_.SSTab1->currentWidget() != ui_.tabSplitData) return;
    std::size_t at = chosen_;
    do {
        at = (at + kSplitFormatCount + static_cast<std::size_t>(delta)) % kSplitFormatCount;
    } while (!splitColumns()[at].shownInWindow);
    choose(at);
}

void BitMapPanel::showSplit() {
    splitCardData_ = toStd(ui_.txtData->text());
    setRefusalTips();
    showPage();
}

void BitMapPanel::clearSplit() {
    splitCardData_.reset();
    setRefusalTips();
    showPage();
}

void BitMapPanel::refreshBuilt() {
    if (ui_.SSTab1->currentWidget() == ui_.tabDataInput) showPage();
}

void BitMapPanel::showPage() {
    if (ui_.SSTab1->currentWidget() == ui_.tabSplitData) {
        const auto w = wordOf(splitCardData_);
        if (!w) return view_->showHint(QStringLiteral("Bit map: shown here after Split Data"));
        const SplitColumn& column = splitColumns()[chosen_];
        const CardExplanation e = explainColumn(column.id, *w);
        const std::string_view name = e.passes ? column.heading : column.refusal;
        return view_->showMap(toQt(name), *w, e);
    }
    const std::string proxData = toStd(ui_.txtBoxProxData->text());
    const auto w = parseCardData(proxData);
    const Layout* l = builtLayout(cardFormat_, facilityCode_);
    if (!w || proxData.size() != static_cast<std::size_t>(kProxDataDigits) || l == nullptr) {
        return view_->showHint(QStringLiteral("Bit map: shown here once there is prox data"));
    }
    view_->showMap(toQt(l->description), *w, explainLayout(*l, *w));
}

// Each refusal text tells, on hover, the rule the card data broke.
void BitMapPanel::setRefusalTips() {
    const auto w = wordOf(splitCardData_);
    for (const SplitColumn& column : splitColumns()) {
        QString tip;
        if (w) {
            const CardExplanation e = explainColumn(column.id, *w);
            if (!e.passes) tip = toQt(e.verdict);
        }
        for (std::size_t row = 0; row < kGridRowCount; ++row) {
            if (!column.refusalRows[row]) continue;
            const std::string_view name = kResultBoxNames[static_cast<std::size_t>(column.id)][row];
            if (auto* box = window_->findChild<QLineEdit*>(toQt(name))) box->setToolTip(tip);
        }
    }
}

}  // namespace morvane
