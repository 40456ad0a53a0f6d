#include "app/data_input_page.h"

#include <QFontDatabase>
#include <QKeyEvent>

#include "app/card_reads.h"
#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "app/window_state.h"
#include "formats/card_check.h"
#include "formats/card_format.h"
#include "formats/card_word.h"
#include "formats/numeric_error.h"
#include "formats/numeric_text.h"
#include "formats/prox_data.h"
#include "ui_data_input_page.h"

namespace morvane {

namespace {

// Writing the trimmed text back runs the box's own change handling when blanks went away.
void putTrimmed(QLineEdit* box) { box->setText(toQt(trimSpaces(toStd(box->text())))); }

// The prox data box keeps a light 3-D face: halfway between its base and the midlight colour.
void giveLightFace(QLineEdit& box) {
    QPalette light = box.palette();
    const QColor base = light.color(QPalette::Base);
    const QColor midlight = light.color(QPalette::Midlight);
    light.setColor(QPalette::Base,
                   QColor((base.red() + midlight.red()) / 2, (base.green() + midlight.green()) / 2,
                          (base.blue() + midlight.blue()) / 2));
    box.setPalette(light);
}

}  // namespace

DataInputPage::DataInputPage(WindowState& state, MessageBoxes& messages, CardReads& reads,
                             QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::DataInputPage>()), state_(state),
      messages_(messages), reads_(reads) {
    ui_->setupUi(this);
    ui_->txtBoxProxData->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    giveLightFace(*ui_->txtBoxProxData);
    // The copy button shows a picture only: its tooltip is not a name a screen reader says.
    ui_->cmdCopyToCB->setAccessibleName(QStringLiteral("Copy to Clipboard"));
    connectBoxes();
    connectFormatButtons();
    connect(&state_, &WindowState::qrvModeEntered, this, [this] { holdForQrvMode(); });
    connect(&state_, &WindowState::readerStepRunningChanged, this, [this] { enableCheck(); });
    connect(ui_->cmdCheckCard, &QPushButton::clicked, this, [this] { checkCard(); });
}

DataInputPage::~DataInputPage() = default;

void DataInputPage::connectBoxes() {
    connect(ui_->txtBoxSerialNo, &QLineEdit::textChanged, this, [this] { hotstampChanged(); });
    connect(ui_->txtFacilityCode, &QLineEdit::textChanged, this, [this] { facilityChanged(); });
    connect(ui_->txtVersion, &QLineEdit::textChanged, this, [this] { versionChanged(); });
    connect(ui_->txtBoxProxData, &QLineEdit::textChanged, this, [this] {
        ui_->lblCheck->clear();
        enableCheck();
        emit proxDataChanged();
    });
    connect(ui_->cmdConvert, &QPushButton::clicked, this, [this] { convert(); });
    connect(ui_->cmdCopyToCB, &QPushButton::clicked, this, &DataInputPage::copyRequested);
    ui_->txtBoxSerialNo->installEventFilter(this);
    ui_->txtFacilityCode->installEventFilter(this);
}

QString DataInputPage::proxData() const { return ui_->txtBoxProxData->text(); }
void DataInputPage::setFacilityText(const QString& text) { ui_->txtFacilityCode->setText(text); }
void DataInputPage::setVersionText(const QString& text) { ui_->txtVersion->setText(text); }
void DataInputPage::focusHotstamp() { ui_->txtBoxSerialNo->setFocus(Qt::OtherFocusReason); }
QWidget* DataInputPage::copyButton() const { return ui_->cmdCopyToCB; }

QList<QWidget*> DataInputPage::leadingStops() const {
    return {ui_->txtBoxSerialNo, ui_->txtFacilityCode, ui_->txtVersion, ui_->cmdConvert};
}

QList<QWidget*> DataInputPage::trailingStops() const {
    return {ui_->txtBoxProxData, ui_->cmdCheckCard, ui_->opt26Bit, ui_->opt34Bit,
            ui_->opt35Bit,       ui_->opt35BitV,    ui_->opt36BitV, ui_->opt37bitV,
            ui_->opt37Bit,       ui_->optProxif,    ui_->optCasi};
}

bool DataInputPage::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui_->txtBoxSerialNo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            hotstampEntered();
            return true;
        }
    }
    if (watched == ui_->txtFacilityCode && event->type() == QEvent::FocusOut) {
        // A message box or another program taking the focus is not the user leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            withErrorHandling([this] { facilityBoxSteps(); });
        }
    }
    return QWidget::eventFilter(watched, event);
}

void DataInputPage::recalculate() {
    ui_->txtBoxProxData->setText(toQt(CalcProxData(toStd(ui_->txtBoxSerialNo->text()),
                                                   state_.cardFormat(), state_.facilityCode(),
                                                   boxes_)
                                          .view()));
}

// A facility code too large for its conversion, or an error from the calculation, is shown as
// "6 Overflow" and leaves the facility box empty for the user to type again.
void DataInputPage::withErrorHandling(const std::function<void()>& steps) {
    try {
        steps();
    } catch (const NumericError& error) {
        reportError(error);
    }
}

void DataInputPage::reportError(const NumericError& error) {
    messages_.show(window(), Message{.text = toQt(error.text())});
    ui_->txtFacilityCode->clear();
}

// Text that is not a hotstamp becomes "0" once a facility code is there; with no facility
// code yet, the facility box gets "0" and does the recalculation itself.
void DataInputPage::hotstampChanged() {
    ui_->txtBoxProxData->clear();
    withErrorHandling([this] {
        putTrimmed(ui_->txtBoxSerialNo);
        if (ui_->txtFacilityCode->text().isEmpty()) {
            state_.setFacilityCode(0);
            ui_->txtFacilityCode->setText(QStringLiteral("0"));
            return;
        }
        state_.setFacilityCode(textToInt32(boxes_.facilityBox()));
        const std::string hotstamp = toStd(ui_->txtBoxSerialNo->text());
        if (IsNumeric(hotstamp)) {
            recalculate();
        } else if (!hotstamp.empty()) {
            ui_->txtBoxSerialNo->setText(QStringLiteral("0"));
        }
    });
}

// One press of Enter is a key-down and a character, and each of them runs the steps; Qt reports
// the press once, so both runs happen here. A message from the calculation shows twice.
void DataInputPage::hotstampEntered() {
    for (int run = 0; run < 2; ++run) {
        withErrorHandling([this] {
            recalculate();
            decideResult();
        });
    }
}

// Any result but the no-result value may be handed back.
void DataInputPage::decideResult() { emit resultDecided(toStd(proxData()) != kNoResult); }

// An emptied facility box keeps the facility code in force until the hotstamp changes.
void DataInputPage::facilityBoxSteps() {
    putTrimmed(ui_->txtFacilityCode);
    const std::string facility = boxes_.facilityBox();
    if (IsNumeric(facility)) {
        state_.setFacilityCode(textToInt32(facility));
        recalculate();
    } else if (!facility.empty()) {
        ui_->txtFacilityCode->setText(QStringLiteral("0"));
    }
}

void DataInputPage::facilityChanged() {
    withErrorHandling([this] { facilityBoxSteps(); });
}

// A version change takes the facility code through the narrower 16-bit conversion.
void DataInputPage::versionChanged() {
    withErrorHandling([this] {
        putTrimmed(ui_->txtVersion);
        const std::string version = boxes_.versionBox();
        if (IsNumeric(version)) {
            if (!ui_->txtFacilityCode->text().isEmpty())
                state_.setFacilityCode(textToInt16(boxes_.facilityBox()));
            recalculate();
        } else if (!version.empty()) {
            ui_->txtVersion->setText(QStringLiteral("0"));
        }
    });
}

// An empty facility or version box is filled with "0" first; only a press with both filled
// decides about "&OK".
void DataInputPage::convert() {
    withErrorHandling([this] {
        if (ui_->txtFacilityCode->text().isEmpty()) {
            state_.setFacilityCode(0);
            ui_->txtFacilityCode->setText(QStringLiteral("0"));
            return;
        }
        state_.setFacilityCode(textToInt32(boxes_.facilityBox()));
        if (ui_->txtVersion->text().isEmpty()) {
            ui_->txtVersion->setText(QStringLiteral("0"));
            return;
        }
        recalculate();
        decideResult();
    });
}

// A card can be checked against prox data only, and while no other reader step runs. The
// button stays enabled through its own check, so that the keyboard focus stays on it.
void DataInputPage::enableCheck() {
    const auto typed = parseCardData(toStd(proxData()));
    ui_->cmdCheckCard->setEnabled(typed && proxData().size() == kProxDataDigits &&
                                  (checking_ || !state_.readerStepRunning()));
}

// The USB reader when one was found, else the lock on the Split Data page's COM port. The
// check compares with the prox data as it stood at the click, and changes nothing typed.
void DataInputPage::checkCard() {
    if (checking_) return;
    const Typed typed{proxData(), state_.cardFormat(), state_.facilityCode()};
    const CardSource source = state_.readerFound() ? CardSource::Usb : CardSource::Lock;
    ui_->lblCheck->setText(QStringLiteral("Checking the card…"));
    checking_ = true;
    const bool started = reads_.read(source, [this, typed](const CardReading& reading) {
        checking_ = false;
        showCheck(typed, reading);
    });
    if (!started) {
        checking_ = false;
        ui_->lblCheck->setText(QStringLiteral("A reader is busy; check again"));
    }
}

void DataInputPage::showCheck(const Typed& typed, const CardReading& reading) {
    if (typed.proxData != proxData()) return ui_->lblCheck->clear();  // changed meanwhile
    if (!reading.read()) {
        ui_->lblCheck->setText(QString::fromLatin1(kCouldNotReadCard) + toQt(reading.failure));
        return;
    }
    const std::string proxData = toStd(typed.proxData);
    const CardCheck check =
        morvane::checkCard({proxData, typed.format, typed.facilityCode}, reading.cardData,
                           {.readerBitCount = reading.readerBitCount});
    ui_->lblCheck->setText(QStringLiteral("Card check: ") + toQt(check.summary));
    emit cardChecked(check);
}

void DataInputPage::Boxes::showMessage(std::string_view text) {
    page_.messages_.show(page_.window(), Message{.text = toQt(text)});
}
void DataInputPage::Boxes::setHotstampBox(std::string_view text) {
    page_.ui_->txtBoxSerialNo->setText(toQt(text));
}
void DataInputPage::Boxes::setFacilityBox(std::string_view text) {
    page_.ui_->txtFacilityCode->setText(toQt(text));
}
void DataInputPage::Boxes::setVersionBox(std::string_view text) {
    page_.ui_->txtVersion->setText(toQt(text));
}
std::string DataInputPage::Boxes::facilityBox() const {
    return toStd(page_.ui_->txtFacilityCode->text());
}
std::string DataInputPage::Boxes::versionBox() const {
    return toStd(page_.ui_->txtVersion->text());
}

}  // namespace morvane
