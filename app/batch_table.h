#pragma once

#include <QAbstractTableModel>
#include <QModelIndexList>
#include <QString>
#include <span>
#include <string>
#include <vector>

#include "formats/convert_rows.h"

// The Batch page's table: a row per hotstamp, turned into text only for the rows on screen, so
// that a box of a million cards costs its rows and no more.
namespace morvane {

// What a row was converted under, as the CSV gives it on every row. Card data no format passes
// has no format, and then no facility code or version either.
struct BatchSettings {
    std::string format;
    std::int32_t facilityCode = 0;
    std::int32_t version = 0;
};

// A row with its own settings: a card read.
struct BatchRow {
    ConvertedRow converted;
    BatchSettings settings;
};

class BatchTable : public QAbstractTableModel {
    Q_OBJECT

  public:
    // The CSV's columns. Rows converted under the page's settings show only hotstamp, prox data
    // and message; cards read each bring their own format, facility code and version.
    enum Column { Hotstamp, Format, Facility, Version, ProxData, Message, ColumnCount };

    using QAbstractTableModel::QAbstractTableModel;

    void setRows(const BatchSettings& settings, std::vector<ConvertedRow> rows);
    void setRows(std::span<const BatchRow> rows);
    const std::vector<ConvertedRow>& rows() const { return rows_; }
    bool columnShown(int column) const;

    // Every row as `morvane-cli convert --csv` writes it, header first, lines ended by CRLF.
    std::string csv() const;
    // The given rows, in table order, as tab-separated lines a spreadsheet pastes as cells.
    QString tabSeparated(const QModelIndexList& selected) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

  private:
    const BatchSettings& settingsOf(std::size_t row) const;
    QString cell(std::size_t row, int column) const;

    BatchSettings settings_;
    std::vector<BatchSettings> ownSettings_;  // a row's own; empty when all share settings_
    bool rowsOwnSettings_ = false;
    std::vector<ConvertedRow> rows_;
};

}  // namespace morvane
