#include "app/frm_morvane.h"

#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QRadioButton>
#include <QTabBar>

#include "app/batch_page.h"
#include "app/bit_map_panel.h"
#include "app/clipboard/clipboard_port.h"
#include "app/data_input_page.h"
#include "app/escape_to_exit.h"
#include "app/invocation.h"
#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "app/split_data_page.h"
#include "ui_frm_morvane.h"

// The pictures live in this static library: register them before the first page needs them.
static void registerPictures() { Q_INIT_RESOURCE(morvane); }

namespace morvane {

frmMorvane::frmMorvane(WindowServices services, QWidget* parent)
    : QWidget(parent),
      ui_(std::make_unique<Ui::frmMorvane>()),
      messages_(services.messages),
      clipboard_(services.clipboard) {
    registerPictures();
    ui_->setupUi(this);
    splitData_ = new SplitDataPage(
        state_, {messages_, std::move(services.readerLibrary), services.programFolder,
                 services.readerStepDeadline});
    dataInput_ = new DataInputPage(state_, messages_, *splitData_);
    bitMap_ = new BitMapPanel(this);
    ui_->SSTab1->addTab(dataInput_, QStringLiteral("Data Input"));
    ui_->SSTab1->addTab(splitData_, QStringLiteral("Split Data"));
    BatchPageServices batchPage = batchServices();
    batchPage.site = splitData_->site();
    batch_ = new BatchPage(*splitData_, state_, std::move(batchPage));
    ui_->SSTab1->addTab(batch_, QStringLiteral("Batch"));
    ui_->layoutWindow->insertWidget(1, bitMap_);
    connectPages();
    setUpTabOrder();
    new EscapeToExit(*this, *ui_->cmdCancel);
    startUp();
}

frmMorvane::~frmMorvane() = default;

void frmMorvane::connectPages() {
    connect(dataInput_, &DataInputPage::resultDecided, this, &frmMorvane::enableOK);
    connect(dataInput_, &DataInputPage::copyRequested, this, &frmMorvane::copyProxData);
    connect(ui_->cmdOK, &QPushButton::clicked, this, &frmMorvane::handBackResult);
    connect(ui_->cmdCancel, &QPushButton::clicked, this, &frmMorvane::handBackCancel);
    connect(&state_, &WindowState::readerFoundChanged, this, &frmMorvane::markCaptionForReader);

    const auto explainBuilt = [this] {
        bitMap_->explainBuilt(dataInput_->proxData(), state_.cardFormat(), state_.facilityCode());
    };
    connect(dataInput_, &DataInputPage::proxDataChanged, bitMap_, explainBuilt);
    connect(&state_, &WindowState::cardFormatChanged, bitMap_, explainBuilt);
    connect(dataInput_, &DataInputPage::cardChecked, bitMap_, &BitMapPanel::explainCheck);
    connect(splitData_, &SplitDataPage::columnChosen, bitMap_, &BitMapPanel::explainColumn);
    connect(splitData_, &SplitDataPage::splitRefused, bitMap_, &BitMapPanel::explainRefusal);
    connect(splitData_, &SplitDataPage::splitCleared, bitMap_, &BitMapPanel::clearSplit);
    connect(bitMap_, &BitMapPanel::stepRequested, splitData_, &SplitDataPage::stepColumn);
    connect(ui_->SSTab1, &QTabWidget::currentChanged, this, [this] { showPageOnMap(); });
}

// The map explains a page's one card; the Batch page has many, and wants the room.
void frmMorvane::showPageOnMap() {
    bitMap_->setVisible(ui_->SSTab1->currentWidget() != batch_);
    bitMap_->showSplitPage(ui_->SSTab1->currentWidget() == splitData_);
}

// The Batch page's copies are a spreadsheet's, not a calling program's: they go to the desktop
// clipboard directly, never through the result handshake.
BatchPageServices frmMorvane::batchServices() {
    return {[](QWidget& parent) {
                return QFileDialog::getSaveFileName(&parent, QStringLiteral("Export CSV"),
                                                    QStringLiteral("hotstamps.csv"),
                                                    QStringLiteral("CSV files (*.csv)"));
            },
            [](const QString& text) {
                QGuiApplication::clipboard()->setText(text);
                return true;
            }};
}

// The Data Input boxes come first, then the end buttons and the tabs, then the rest of the page
// on show and the bit map; from there Tab comes round to the hotstamp box. The window keeps the
// ring itself: Qt's own chain runs on through every widget it holds and need not come round.
void frmMorvane::setUpTabOrder() {
    tabStops_ = dataInput_->leadingStops();
    tabStops_ << dataInput_->copyButton() << ui_->cmdCancel << ui_->cmdOK << ui_->SSTab1->tabBar();
    tabStops_ << dataInput_->trailingStops() << splitData_->tabStops() << batch_->tabStops()
              << bitMap_->map();
}

// A stop on show that is enabled; of the option buttons only the one switched on, as the
// arrow keys move among them.
bool frmMorvane::takesTab(QWidget* w) const {
    if (!w->isVisible() || !w->isEnabled()) return false;
    const auto* option = qobject_cast<QRadioButton*>(w);
    return option == nullptr || option->isChecked();
}

bool frmMorvane::focusNextPrevChild(bool next) {
    QList<QWidget*> stops;
    for (QWidget* w : tabStops_) {
        if (takesTab(w)) stops << w;
    }
    if (stops.isEmpty()) return QWidget::focusNextPrevChild(next);
    const qsizetype at = stops.indexOf(QApplication::focusWidget());
    const qsizetype n = stops.size();
    const qsizetype to = at < 0 ? 0 : (at + (next ? 1 : n - 1)) % n;
    stops[to]->setFocus(next ? Qt::TabFocusReason : Qt::BacktabFocusReason);
    return true;
}

void frmMorvane::firstActivation() {
    ui_->SSTab1->setCurrentIndex(0);
    dataInput_->focusHotstamp();
}

bool frmMorvane::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        firstActivation();
    }
    return QWidget::event(event);
}

// "&OK" may hand back any result but the no-result value; once enabled it takes the focus,
// so that a further Enter presses it.
void frmMorvane::enableOK(bool usable) {
    ui_->cmdOK->setEnabled(usable);
    if (usable) ui_->cmdOK->setFocus(Qt::OtherFocusReason);
}

// A result that cannot reach the clipboard must not be lost: the user is told and the window
// stays open.
bool frmMorvane::placeOnClipboard(const std::string& text) {
    if (clipboard_.placeText(toQt(text))) return true;
    messages_.show(this, Message{.text = QStringLiteral(
                                     "The result could not be placed on the clipboard. Morvane "
                                     "stays open so that it is not lost.")});
    return false;
}

void frmMorvane::handBackResult() {
    const ResultFields fields{toStd(dataInput_->proxData()), state_.facilityCode(),
                              state_.cardFormat(), state_.qrvMode(), state_.proxDataOnly()};
    if (placeOnClipboard(okResultString(fields))) close();
}

void frmMorvane::handBackCancel() {
    if (placeOnClipboard(std::string(kCancelResult))) close();
}

void frmMorvane::copyProxData() {
    if (placeOnClipboard(toStd(dataInput_->proxData()))) state_.setProxDataOnly(true);
}

}  // namespace morvane
