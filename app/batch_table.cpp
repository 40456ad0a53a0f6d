#include "app/batch_table.h"

#include <set>

#include "app/qt_text.h"
#include "formats/csv_text.h"

namespace morvane {

namespace {

// Card data no format passes has no facility code or version to give.
std::string valueText(const BatchSettings& settings, std::int32_t value) {
    return settings.format.empty() ? std::string() : std::to_string(value);
}

}  // namespace

void BatchTable::setRows(const BatchSettings& settings, std::vector<ConvertedRow> rows) {
    beginResetModel();
    settings_ = settings;
    ownSettings_.clear();
    rowsOwnSettings_ = false;
    rows_ = std::move(rows);
    endResetModel();
}

void BatchTable::setRows(std::span<const BatchRow> rows) {
    beginResetModel();
    ownSettings_.clear();
    rows_.clear();
    for (const BatchRow& row : rows) {
        rows_.push_back(row.converted);
        ownSettings_.push_back(row.settings);
    }
    rowsOwnSettings_ = true;
    endResetModel();
}

bool BatchTable::columnShown(int column) const {
    return rowsOwnSettings_ || column == Hotstamp || column == ProxData || column == Message;
}

const BatchSettings& BatchTable::settingsOf(std::size_t row) const {
    return rowsOwnSettings_ ? ownSettings_[row] : settings_;
}

QString BatchTable::cell(std::size_t row, int column) const {
    const ConvertedRow& r = rows_[row];
    switch (column) {
        case Hotstamp: return toQt(r.hotstamp);
        case Format: return toQt(settingsOf(row).format);
        case Facility: return toQt(valueText(settingsOf(row), settingsOf(row).facilityCode));
        case Version: return toQt(valueText(settingsOf(row), settingsOf(row).version));
        case ProxData: return toQt(r.proxData.view());
        default: return toQt(r.messages);
    }
}

std::string BatchTable::csv() const {
    std::string out(kConvertCsvHeader);
    out.append("\r\n");
    for (std::size_t r = 0; r < rows_.size(); ++r) {
        const BatchSettings& s = settingsOf(r);
        const ConvertedRow& row = rows_[r];
        appendConvertCsvRow(out, {row.hotstamp, s.format, valueText(s, s.facilityCode),
                                  valueText(s, s.version), row.proxData.view(), row.messages});
        out.append("\r\n");
    }
    return out;
}

QString BatchTable::tabSeparated(const QModelIndexList& selected) const {
    std::set<int> rows;
    for (const QModelIndex& index : selected) rows.insert(index.row());
    QString text;
    for (const int r : rows) {
        if (r < 0 || r >= rowCount()) continue;
        QStringList cells;
        for (int c = 0; c < ColumnCount; ++c) {
            if (columnShown(c)) cells << cell(static_cast<std::size_t>(r), c);
        }
        text += cells.join(u'\t') + u'\n';
    }
    return text;
}

int BatchTable::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int BatchTable::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant BatchTable::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid() || index.row() >= rowCount()) return {};
    return cell(static_cast<std::size_t>(index.row()), index.column());
}

QVariant BatchTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const QString kHeadings[ColumnCount] = {
        QStringLiteral("Hotstamp"), QStringLiteral("Format"),    QStringLiteral("Facility Code"),
        QStringLiteral("Version"),  QStringLiteral("Prox Data"), QStringLiteral("Message")};
    return section >= 0 && section < ColumnCount ? kHeadings[section] : QVariant();
}

}  // namespace morvane
