#pragma once

#include <QAbstractTableModel>
#include <QModelIndexList>
#include <QString>
#include <string>
#include <vector>

#include "formats/convert_rows.h"

// The Batch page's table: a row per hotstamp, turned into text only for the rows on screen, so
// that a box of a million cards costs its rows and no more.
namespace morvane {

// What the rows were converted under, as the CSV repeats it on every row.
struct BatchSettings {
    std::string format;
    std::int32_t facilityCode = 0;
    std::int32_t version = 0;
};

class BatchTable : public QAbstractTableModel {
    Q_OBJECT

  public:
    enum Column { Hotstamp, ProxData, Message, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const BatchSettings& settings, std::vector<ConvertedRow> rows);
    const std::vector<ConvertedRow>& rows() const { return rows_; }

    // Every row as `morvane-cli convert --csv` writes it, header first, lines ended by CRLF.
    std::string csv() const;
    // The given rows, in table order, as tab-separated lines a spreadsheet pastes as cells.
    QString tabSeparated(const QModelIndexList& selected) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    std::string_view cell(const ConvertedRow& row, int column) const;

    BatchSettings settings_;
    std::vector<ConvertedRow> rows_;
};

}  // namespace morvane
