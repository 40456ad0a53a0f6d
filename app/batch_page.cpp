#include "app/batch_page.h"

#include <QComboBox>
#include <QFile>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QTableView>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "app/qt_text.h"
#include "app/window_state.h"
#include "formats/card_data_reason.h"
#include "formats/card_format.h"
#include "formats/format_ranking.h"

namespace morvane {

namespace {

// Long enough not to rebuild on every keystroke of a hotstamp, short enough to feel immediate.
constexpr int kRebuildPauseMs = 150;

template <typename Control>
Control* named(Control* control, const QString& accessibleName) {
    control->setAccessibleName(accessibleName);
    return control;
}

QSpinBox* valueBox(const QString& name) {
    auto* box = named(new QSpinBox, name);
    box->setRange(0, INT_MAX);
    return box;
}

std::uint64_t gridValue(const SplitResult& split, SplitFormatId id, GridRow row) {
    return split.column(id).values[static_cast<std::size_t>(row)];
}

// A card read as a row under its most likely format, the first of a tie; its prox data is the
// card's own word. `said` gets what the status line tells of it.
BatchRow readRow(const SplitResult& split, const FormatRanking& ranking, std::string& said) {
    BatchRow row;
    row.converted.proxData = proxDataText(split.word.bits);
    const auto first = ranking.mostLikely();
    if (first.empty()) {
        said = row.converted.messages = "no card format passes";
        return row;
    }
    const SplitColumn& column = splitColumn(first.front().id);
    const std::uint64_t facility = gridValue(split, column.id, GridRow::Facility);
    row.converted.hotstamp = std::to_string(gridValue(split, column.id, GridRow::Hotstamp));
    // A facility code field is at most 16 bits wide and a version field narrower still.
    row.settings = {std::string(layout(column.layout).code), static_cast<std::int32_t>(facility),
                    static_cast<std::int32_t>(gridValue(split, column.id, GridRow::Version))};
    if (first.size() > 1) appendMostLikely(row.converted.messages = "most likely ", ranking);
    said = std::string(column.heading) + ", facility " + std::to_string(facility) + ", hotstamp " +
           row.converted.hotstamp;
    if (!row.converted.messages.empty()) said += "; " + row.converted.messages;
    return row;
}

}  // namespace

BatchPage::BatchPage(CardReads& reads, const WindowState& state, BatchPageServices services,
                     QWidget* parent)
    : QWidget(parent), reads_(reads), state_(state), services_(std::move(services)) {
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(buildSettings());
    layout->addWidget(buildHotstamps());
    view_ = named(new QTableView, QStringLiteral("Converted hotstamps"));
    view_->setModel(&table_);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->horizontalHeader()->setStretchLastSection(true);
    // Prox data whole at a glance, and rows as close as the text allows: a box of cards is long.
    const QFontMetrics metrics(view_->font());
    view_->setColumnWidth(BatchTable::ProxData,
                          metrics.horizontalAdvance(QStringLiteral("0000000000000000")) + 16);
    view_->verticalHeader()->setDefaultSectionSize(metrics.height() + 6);
    layout->addWidget(view_, 1);
    layout->addWidget(buildActions());
    rebuildTimer_.setSingleShot(true);
    rebuildTimer_.setInterval(kRebuildPauseMs);
    connectInputs();
    rebuildNow();
}

QWidget* BatchPage::buildSettings() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    format_ = named(new QComboBox, QStringLiteral("Card format"));
    std::vector<std::string_view> codes;
    for (const Layout& l : layouts()) {
        if (std::find(codes.begin(), codes.end(), l.code) != codes.end()) continue;
        codes.push_back(l.code);
        format_->addItem(toQt(l.code) + QStringLiteral(": ") + toQt(l.description), toQt(l.code));
    }
    facility_ = valueBox(QStringLiteral("Facility code"));
    version_ = valueBox(QStringLiteral("Version"));
    row->addWidget(new QLabel(QStringLiteral("Format:")));
    row->addWidget(format_, 1);
    row->addWidget(new QLabel(QStringLiteral("Facility Code:")));
    row->addWidget(facility_);
    row->addWidget(new QLabel(QStringLiteral("Version:")));
    row->addWidget(version_);
    return box;
}

QWidget* BatchPage::buildHotstamps() {
    auto* box = new QWidget;
    auto* form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    byRange_ = named(new QRadioButton(QStringLiteral("&Range")), QStringLiteral("Hotstamp range"));
    byRange_->setChecked(true);
    from_ = named(new QLineEdit, QStringLiteral("First hotstamp"));
    to_ = named(new QLineEdit, QStringLiteral("Last hotstamp"));
    auto* range = new QHBoxLayout;
    range->addWidget(from_);
    range->addWidget(new QLabel(QStringLiteral("to")));
    range->addWidget(to_);
    form->addRow(byRange_, range);
    byList_ = named(new QRadioButton(QStringLiteral("&List")), QStringLiteral("Hotstamp list"));
    pasted_ = named(new QPlainTextEdit, QStringLiteral("Hotstamps, one per line"));
    pasted_->setPlaceholderText(QStringLiteral("One hotstamp per line"));
    pasted_->setMaximumHeight(80);
    pasted_->setTabChangesFocus(true);
    form->addRow(byList_, pasted_);
    byReads_ = named(new QRadioButton(QStringLiteral("Cards Rea&d")), QStringLiteral("Cards read"));
    readUsb_ = named(new QPushButton(QStringLiteral("Read from &USB")),
                     QStringLiteral("Read a card from the USB reader"));
    readLock_ = named(new QPushButton(QStringLiteral("Read from Loc&k")),
                      QStringLiteral("Read a card from the lock"));
    auto* reads = new QHBoxLayout;
    reads->addWidget(readUsb_);
    reads->addWidget(readLock_);
    reads->addStretch(1);
    form->addRow(byReads_, reads);
    return box;
}

QWidget* BatchPage::buildActions() {
    auto* box = new QWidget;
    auto* row = new QHBoxLayout(box);
    row->setContentsMargins(0, 0, 0, 0);
    status_ = new QLabel;
    status_->setWordWrap(true);
    copy_ = named(new QPushButton(QStringLiteral("&Copy Rows")),
                  QStringLiteral("Copy the selected rows"));
    export_ = named(new QPushButton(QStringLiteral("&Export CSV…")),
                    QStringLiteral("Export every row as CSV"));
    row->addWidget(status_, 1);
    row->addWidget(copy_);
    row->addWidget(export_);
    return box;
}

void BatchPage::connectInputs() {
    const auto later = [this] { rebuildTimer_.start(); };
    connect(format_, &QComboBox::currentIndexChanged, this, later);
    connect(facility_, &QSpinBox::valueChanged, this, later);
    connect(version_, &QSpinBox::valueChanged, this, later);
    connect(byRange_, &QRadioButton::toggled, this, later);
    connect(byReads_, &QRadioButton::toggled, this, later);
    // Typing a range or a list chooses it.
    for (QLineEdit* end : {from_, to_}) {
        connect(end, &QLineEdit::textEdited, this, [this, later] {
            byRange_->setChecked(true);
            later();
        });
    }
    connect(pasted_, &QPlainTextEdit::textChanged, this, [this, later] {
        if (!pasted_->toPlainText().isEmpty()) byList_->setChecked(true);
        later();
    });
    connect(&rebuildTimer_, &QTimer::timeout, this, &BatchPage::rebuildNow);
    connect(export_, &QPushButton::clicked, this, &BatchPage::exportClicked);
    connect(copy_, &QPushButton::clicked, this, &BatchPage::copySelection);
    connect(readUsb_, &QPushButton::clicked, this, [this] { readCard(CardSource::Usb); });
    connect(readLock_, &QPushButton::clicked, this, [this] { readCard(CardSource::Lock); });
    connect(&state_, &WindowState::readerFoundChanged, this, &BatchPage::enableReads);
    connect(&state_, &WindowState::readerStepRunningChanged, this, &BatchPage::enableReads);
    enableReads();
}

// The hotstamps the page's input names; an empty list, with the reason said, when a range
// cannot be read.
std::vector<std::string> BatchPage::hotstamps(const Layout& l) {
    if (!byRange_->isChecked()) return hotstampLines(toStd(pasted_->toPlainText()));
    const QString from = from_->text().trimmed();
    const QString to = to_->text().trimmed();
    if (from.isEmpty() || to.isEmpty()) return {};  // still being typed
    std::string why;
    const auto range = parseHotstampRange(toStd(from), toStd(to), l, why);
    if (!range) {
        say(toQt(why));
        return {};
    }
    std::vector<std::string> list;
    list.reserve(static_cast<std::size_t>(range->to - range->from + 1));
    for (std::uint64_t h = range->from; h <= range->to; ++h) list.push_back(std::to_string(h));
    return list;
}

void BatchPage::rebuildNow() {
    rebuildTimer_.stop();
    say({});
    // Cards read carry their own format, facility code and version.
    const bool reads = byReads_->isChecked();
    for (QWidget* setting : {static_cast<QWidget*>(format_), static_cast<QWidget*>(facility_),
                             static_cast<QWidget*>(version_)})
        setting->setEnabled(!reads);
    if (reads) {
        table_.setRows(cardsRead_);
    } else {
        convertHotstamps();
    }
    for (int c = 0; c < BatchTable::ColumnCount; ++c)
        view_->setColumnHidden(c, !table_.columnShown(c));
    export_->setEnabled(table_.rowCount() > 0);
    copy_->setEnabled(table_.rowCount() > 0);
    emit rebuilt();
}

void BatchPage::convertHotstamps() {
    const BatchSettings settings{toStd(format_->currentData().toString()), facility_->value(),
                                 version_->value()};
    std::vector<ConvertedRow> rows;
    if (const Layout* l = builtLayout(settings.format, settings.facilityCode)) {
        RowConverter convert(settings.format, settings.facilityCode, settings.version);
        for (const std::string& hotstamp : hotstamps(*l)) rows.push_back(convert(hotstamp));
    }
    const auto withMessage = std::count_if(
        rows.begin(), rows.end(), [](const ConvertedRow& r) { return !r.messages.empty(); });
    if (!rows.empty()) {
        say(QStringLiteral("%1 hotstamps, %2 with a message").arg(rows.size()).arg(withMessage));
    }
    table_.setRows(settings, std::move(rows));
}

// A button stays enabled through its own read, so that the keyboard focus stays on it for the
// next card.
void BatchPage::enableReads() {
    const bool free = !state_.readerStepRunning();
    readUsb_->setEnabled((free || reading_ == CardSource::Usb) && state_.readerFound());
    readLock_->setEnabled(free || reading_ == CardSource::Lock);
}

void BatchPage::readCard(CardSource source) {
    if (reading_) return;
    reading_ = source;
    // The window may close while a read is out.
    const QPointer<BatchPage> page(this);
    const bool started = reads_.read(source, [page](const CardReading& reading) {
        if (!page) return;
        page->reading_.reset();
        page->cardRead(reading);
    });
    if (!started) {
        reading_.reset();
        say(QStringLiteral("A reader is busy; read the card when it is done."));
    }
}

// A stack of cards presented one after another: each new card a row, a card seen before only
// pointed at, so that none is enrolled twice.
void BatchPage::cardRead(const CardReading& reading) {
    const QString failed = QString::fromLatin1(kCouldNotReadCard);
    if (!reading.read()) return say(failed + toQt(reading.failure));
    const SplitResult split = SplitData(reading.cardData);
    if (split.state != SplitState::Split)
        return say(failed + toQt(rejectionReason(reading.cardData, split)));
    if (split.word.length == 0) return say(failed + QStringLiteral("the reader gave no card data"));
    std::string said;
    BatchRow row =
        readRow(split, rankFormats(split, {reading.readerBitCount, services_.site}), said);
    const auto same = std::find_if(cardsRead_.begin(), cardsRead_.end(), [&](const BatchRow& r) {
        return r.converted.proxData.view() == row.converted.proxData.view();
    });
    const int at = static_cast<int>(same - cardsRead_.begin());
    const bool repeat = same != cardsRead_.end();
    if (!repeat) cardsRead_.push_back(std::move(row));
    byReads_->setChecked(true);
    rebuildNow();
    view_->selectRow(at);
    view_->scrollTo(table_.index(at, 0));
    say(repeat ? QStringLiteral("repeat of row %1").arg(at + 1)
               : QStringLiteral("row %1: %2").arg(at + 1).arg(toQt(said)));
}

void BatchPage::exportClicked() {
    if (rebuildTimer_.isActive()) rebuildNow();
    const QString path = services_.askSavePath(*this);
    if (!path.isEmpty()) exportCsv(path);
}

bool BatchPage::exportCsv(const QString& path) {
    QFile file(path);
    const std::string text = table_.csv();
    const bool written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
                         file.write(text.data(), static_cast<qint64>(text.size())) ==
                             static_cast<qint64>(text.size()) &&
                         file.flush();
    say(written ? QStringLiteral("%1 rows exported to %2").arg(table_.rowCount()).arg(path)
                : QStringLiteral("Could not export to %1: %2").arg(path, file.errorString()));
    return written;
}

void BatchPage::copySelection() {
    const QModelIndexList selected = view_->selectionModel()->selectedIndexes();
    if (selected.isEmpty()) {
        say(QStringLiteral("Select the rows to copy first."));
        return;
    }
    const bool placed = services_.copyText(table_.tabSeparated(selected));
    say(placed ? QStringLiteral("Rows copied.")
               : QStringLiteral("The clipboard could not be written."));
}

QList<QWidget*> BatchPage::tabStops() const {
    return {format_, facility_, version_, byRange_,  from_, to_,   byList_,
            pasted_, byReads_,  readUsb_, readLock_, view_, copy_, export_};
}

void BatchPage::say(const QString& text) { status_->setText(text); }

}  // namespace morvane
