#include "app/bit_map_panel.h"

#include "app/bit_map_view.h"
#include "app/qt_text.h"
#include "formats/card_check.h"

namespace morvane {

namespace {

const QString kSplitHint = QStringLiteral("Bit map: shown here after Split Data");
const QString kBuiltHint = QStringLiteral("Bit map: shown here once there is prox data");

}  // namespace

BitMapPanel::BitMapPanel(QWidget* parent) : QScrollArea(parent), view_(new BitMapView(this)) {
    setWidget(view_);
    setWidgetResizable(true);
    setFrameShape(QFrame::NoFrame);
    setFocusPolicy(Qt::NoFocus);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
    view_->onStep = [this](int delta) {
        if (splitPage_) emit stepRequested(delta);
    };
    split_.caption = kSplitHint;
    built_.caption = kBuiltHint;
    refresh();
}

QSize BitMapPanel::sizeHint() const { return view_->sizeHint(); }

QSize BitMapPanel::minimumSizeHint() const {
    return {fontMetrics().averageCharWidth() * 20, view_->sizeHint().height() / 2};
}

QWidget* BitMapPanel::map() const { return view_; }

void BitMapPanel::explainColumn(const QString& cardData, SplitFormatId column,
                                const QString& mostLikely) {
    const auto word = parseCardData(toStd(cardData));
    if (!word) return clearSplit();
    const SplitColumn& c = splitColumn(column);
    CardExplanation e = morvane::explainColumn(column, *word);
    split_ = {toQt(e.passes ? c.heading : c.refusal), *word, std::move(e), true, mostLikely};
    refresh();
}

void BitMapPanel::explainRefusal(const QString& reason) {
    split_ = {QStringLiteral("Card data not split: ") + reason, {}, {}, false, {}};
    refresh();
}

void BitMapPanel::clearSplit() {
    split_ = {kSplitHint, {}, {}, false, {}};
    refresh();
}

void BitMapPanel::explainBuilt(const QString& proxData, const std::string& cardFormat,
                               std::int32_t facilityCode) {
    const auto word = parseCardData(toStd(proxData));
    const Layout* l = builtLayout(cardFormat, facilityCode);
    if (!word || proxData.size() != kProxDataDigits || l == nullptr) {
        built_ = {kBuiltHint, {}, {}, false, {}};
    } else {
        built_ = {toQt(l->description), *word, explainLayout(*l, *word), true, {}};
    }
    refresh();
}

void BitMapPanel::explainCheck(const CardCheck& check) {
    if (!built_.isMap) return;
    built_.lead = QStringLiteral("Card check: ") + toQt(check.summary);
    if (!check.matches) {
        built_.explanation.failingBits = check.differingBits;
        built_.explanation.verdict = differingBitsText(check);
    }
    refresh();
}

void BitMapPanel::showSplitPage(bool splitPage) {
    splitPage_ = splitPage;
    refresh();
}

void BitMapPanel::refresh() {
    const Content& c = splitPage_ ? split_ : built_;
    if (c.isMap) {
        view_->showMap(c.caption, c.word, c.explanation, c.lead);
    } else {
        view_->showHint(c.caption);
    }
}

}  // namespace morvane
