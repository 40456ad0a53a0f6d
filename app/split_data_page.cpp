#include "app/split_data_page.h"

#include <QFontDatabase>
#include <QKeyEvent>
#include <QStyle>

#include "app/lock_read_controls.h"
#include "app/qt_text.h"
#include "app/split_boxes.h"
#include "formats/card_data_reason.h"
#include "app/usb_reader_controls.h"
#include "app/window_state.h"
#include "formats/split_data.h"
#include "readers/card_read_messages.h"
#include "readers/reader_library.h"
#include "readers/site_facilities_file.h"
#include "ui_split_data_page.h"

namespace morvane {

namespace {

std::size_t index(SplitFormatId id) { return static_cast<std::size_t>(id); }

// A USB read for another page: the prox data it gave, or what its message boxes would have said.
CardReading cardReading(const CardReadOutcome& outcome) {
    if (!outcome.cardData.empty() && outcome.cardData != kNoResult) {
        return CardReading::of(outcome.cardData, outcome.bitCount);
    }
    std::string why;
    for (const CardReadMessage& m : outcome.messages) {
        if (!why.empty()) why += "; ";
        why += m.text;
    }
    return CardReading::failed(why.empty() ? std::string(kNoDataReadFromCard) : why);
}

}  // namespace

SplitDataPage::SplitDataPage(WindowState& state, Readers readers, QWidget* parent)
    : QWidget(parent), ui_(std::make_unique<Ui::SplitDataPage>()), state_(state) {
    ui_->setupUi(this);
    if (!readers.programFolder.empty()) {
        site_ = loadSiteFacilities(readers.programFolder / kFacilitiesFile, stderr);
    }
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QLineEdit* box : {ui_->txtData, ui_->txtBits}) box->setFont(fixed);
    mapColumns();
    connect(ui_->txtData, &QLineEdit::textChanged, this, [this] {
        readerBits_.reset();
        clearResults();
    });
    connect(ui_->txtData, &QLineEdit::returnPressed, ui_->cmdStart, &QPushButton::click);
    connect(ui_->cmdStart, &QPushButton::clicked, this, [this] { splitCardData(); });
    ui_->ComboComPort->setAccessibleName(ui_->Frame1->title());
    lock_ = new LockReadControls(*ui_->cmdGetCard, *ui_->ComboComPort, readers.messages,
                                 [this](const QString& text) { putCardData(text, false, {}); });
    usb_ = new UsbReaderControls(
        {ui_->btnReadUSB, ui_->btnReinitializeUSB, ui_->cmdGetCard, ui_->LuidEntry,
         ui_->LuidList},
        {std::move(readers.library), readers.programFolder, readers.stepDeadline}, state,
        readers.messages, [this](const QString& text, int bits) {
            putCardData(text, true, bits > 0 ? std::optional(bits) : std::nullopt);
        });
    lock_->onReading([this](bool reading) {
        if (reading) {
            usb_->showStepRunning(ui_->cmdGetCard);
        } else {
            usb_->showIdle();
        }
    });
}

SplitDataPage::~SplitDataPage() = default;

void SplitDataPage::startReaders() {
    lock_->fillPortList();
    usb_->discover();
}

// Every column's controls found once; a heading that is not its format's fails at once.
void SplitDataPage::mapColumns() {
    for (const SplitColumn& column : splitColumns()) {
        const ColumnControls& controls = kColumnControls[index(column.id)];
        Column& mapped = columns_[index(column.id)];
        mapped.heading = (*ui_).*controls.heading;
        Q_ASSERT(mapped.heading->text() == toQt(column.heading));
        for (std::size_t row = 0; row < kGridRowCount; ++row) {
            if (controls.boxes[row] == nullptr) continue;
            mapped.boxes[row] = (*ui_).*controls.boxes[row];
            mapped.boxes[row]->setAccessibleName(toQt(column.heading) + QLatin1Char(' ') +
                                                 toQt(gridRowLabel(static_cast<GridRow>(row))));
        }
        if (column.shownInWindow) makeChoosable(column.id);
    }
}

// A heading is pressed like a button, by mouse or keyboard; a press on a result box also
// chooses its column, and goes on to do whatever the press did before.
void SplitDataPage::makeChoosable(SplitFormatId id) {
    Column& column = columns_[index(id)];
    QLabel& heading = *column.heading;
    heading.setCursor(Qt::PointingHandCursor);
    heading.setFocusPolicy(Qt::StrongFocus);
    heading.setToolTip(QStringLiteral("Show in the bit map why the card data is or is not ") +
                       heading.text());
    heading.setAccessibleName(heading.text());
    heading.setStyleSheet(QStringLiteral("QLabel { border: 1px solid palette(mid); padding: 1px; }"
                                         "QLabel[mostLikely=\"true\"] { background: #c8e6c9; }"
                                         "QLabel:focus { border: 2px solid palette(highlight); }"));
    heading.installEventFilter(this);
    for (QLineEdit* box : column.boxes) {
        if (box != nullptr) box->installEventFilter(this);
    }
}

bool SplitDataPage::eventFilter(QObject* watched, QEvent* event) {
    const bool pressed = event->type() == QEvent::MouseButtonPress;
    const bool keyed = event->type() == QEvent::KeyPress &&
                       QList<int>{Qt::Key_Space, Qt::Key_Return, Qt::Key_Enter}.contains(
                           static_cast<QKeyEvent*>(event)->key());
    if (!pressed && !keyed) return false;
    for (const SplitColumn& column : splitColumns()) {
        const Column& c = columns_[index(column.id)];
        const bool heading = watched == c.heading;
        const bool box = std::find(c.boxes.begin(), c.boxes.end(), watched) != c.boxes.end();
        if (heading || (box && pressed)) {
            choose(column.id);
            return heading && keyed;
        }
    }
    return false;
}

// Results never stand beside card data they were not split from.
void SplitDataPage::clearResults() {
    ui_->txtBits->clear();
    for (const Column& column : columns_) {
        for (QLineEdit* box : column.boxes) {
            if (box == nullptr) continue;
            box->clear();
            box->setToolTip({});
        }
    }
    split_ = false;
    markExplained();
    emit splitCleared();
}

void SplitDataPage::splitCardData() {
    clearResults();
    const std::string cardData = toStd(ui_->txtData->text());
    const SplitResult result = SplitData(cardData);
    if (result.state == SplitState::Rejected) {
        emit splitRefused(toQt(rejectionReason(cardData, result)));
        return;
    }
    showResult(result);
    splitCardData_ = ui_->txtData->text();
    split_ = true;
    ranking_ = rankFormats(result,
                           {.readerBitCount = readerBits_, .site = site()});
    rankingReason_ = toQt(rankingReason(result, ranking_));
    // None passing, the map opens on the first column and says why it refuses the card.
    const auto likely = ranking_.mostLikely();
    choose(likely.empty() ? splitColumns().front().id : likely.front().id);
}

// The columns are filled in the page's own order; a refusal tells, on hover, the rule the card
// data broke.
void SplitDataPage::showResult(const SplitResult& result) {
    ui_->txtBits->setText(toQt(bitData(result)));
    for (SplitFormatId id : splitWriteOrder()) {
        const SplitColumn& column = splitColumn(id);
        const QString tip = result.matches(id) ? QString() : toQt(explainColumn(id, result.word).verdict);
        for (std::size_t row = 0; row < kGridRowCount; ++row) {
            QLineEdit* box = columns_[index(id)].boxes[row];
            if (box == nullptr) continue;
            box->setText(toQt(cellText(result, id, static_cast<GridRow>(row))));
            if (column.refusalRows[row]) box->setToolTip(tip);
        }
    }
}

void SplitDataPage::choose(SplitFormatId id) {
    chosen_ = id;
    markExplained();
    if (split_) {
        emit columnChosen(splitCardData_, id,
                          ranking_.isMostLikely(id) ? rankingReason_ : QString());
    }
}

// The heading of the column the bit map explains stands out, and so do the headings of the
// formats the card data most likely is, for eyes and for screen readers; with nothing split,
// none does.
void SplitDataPage::markExplained() {
    for (const SplitColumn& column : splitColumns()) {
        QLabel* heading = columns_[index(column.id)].heading;
        const bool explained = split_ && column.id == chosen_;
        const bool likely = split_ && ranking_.isMostLikely(column.id);
        QFont font = heading->font();
        font.setBold(explained);
        heading->setFont(font);
        heading->setProperty("mostLikely", likely);
        heading->style()->unpolish(heading);
        heading->style()->polish(heading);
        QStringList description;
        if (explained) description << QStringLiteral("explained in the bit map");
        if (likely) description << QStringLiteral("most likely format");
        heading->setAccessibleDescription(description.join(QStringLiteral(", ")));
    }
}

void SplitDataPage::stepColumn(int delta) {
    std::size_t at = index(chosen_);
    do {
        at = (at + kSplitFormatCount + static_cast<std::size_t>(delta)) % kSplitFormatCount;
    } while (!splitColumns()[at].shownInWindow);
    choose(static_cast<SplitFormatId>(at));
}

// The card data replaces what the box held, and with it the earlier Split Data results; a USB
// reader's bit count stays with it until the box is changed.
void SplitDataPage::putCardData(const QString& text, bool focus, std::optional<int> readerBits) {
    if (focus) ui_->txtData->setFocus(Qt::OtherFocusReason);
    ui_->txtData->setText(text);
    readerBits_ = readerBits;
}

bool SplitDataPage::read(CardSource source, CardReadingDone done) {
    if (state_.readerStepRunning()) return false;
    if (source == CardSource::Usb) {
        return usb_->readFor([done = std::move(done)](const CardReadOutcome& outcome) {
            done(cardReading(outcome));
        });
    }
    readFromLock(done);
    return true;
}

// The lock is awaited in an event loop of its own, the window answering but no reader button
// taking a click meanwhile.
void SplitDataPage::readFromLock(const CardReadingDone& done) {
    usb_->showStepRunning(nullptr);
    const LockCardRead lock = lock_->readQuietly();
    usb_->showIdle();
    done(lock.failure.empty() ? CardReading::of(lock.cardData) : CardReading::failed(lock.failure));
}

QList<QWidget*> SplitDataPage::tabStops() const {
    QList<QWidget*> stops{ui_->txtData, ui_->cmdStart};
    for (const SplitColumn& column : splitColumns()) {
        if (column.shownInWindow) stops << columns_[index(column.id)].heading;
    }
    return stops << ui_->cmdGetCard << ui_->ComboComPort << ui_->btnReadUSB
                 << ui_->btnReinitializeUSB;
}

}  // namespace morvane
