#include "app/batch_table.h"

#include <set>

#include "app/qt_text.h"
#include "formats/csv_text.h"

namespace morvane {

void BatchTable::setRows(const BatchSettings& settings, std::vector<ConvertedRow> rows) {
    beginResetModel();
    settings_ = settings;
    rows_ = std::move(rows);
    endResetModel();
}

std::string_view BatchTable::cell(const ConvertedRow& row, int column) const {
    switch (column) {
        case Hotstamp: return row.hotstamp;
        case ProxData: return row.proxData.view();
        default: return row.messages;
    }
}

std::string BatchTable::csv() const {
    const std::string facility = std::to_string(settings_.facilityCode);
    const std::string version = std::to_string(settings_.version);
    std::string out(kConvertCsvHeader);
    out.append("\r\n");
    for (const ConvertedRow& row : rows_) {
        appendConvertCsvRow(out, {row.hotstamp, settings_.format, facility, version,
                                  row.proxData.view(), row.messages});
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
        const ConvertedRow& row = rows_[static_cast<std::size_t>(r)];
        text += toQt(row.hotstamp) + u'\t' + toQt(row.proxData.view()) + u'\t' +
                toQt(row.messages) + u'\n';
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
    return toQt(cell(rows_[static_cast<std::size_t>(index.row())], index.column()));
}

QVariant BatchTable::headerData(int section, Qt::Orientation orientation, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (orientation == Qt::Vertical) return section + 1;
    static const QString kHeadings[ColumnCount] = {QStringLiteral("Hotstamp"),
                                                   QStringLiteral("Prox Data"),
                                                   QStringLiteral("Message")};
    return section >= 0 && section < ColumnCount ? kHeadings[section] : QVariant();
}

}  // namespace morvane
