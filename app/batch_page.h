#pragma once

#include <QString>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <optional>

#include "app/batch_table.h"
#include "app/card_reads.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;
class QTableView;

// The "Batch" page: a box of cards at once. Its format, facility code and version are its own,
// apart from Data Input's, so that nothing done here changes what "&OK" hands back.
namespace morvane {

struct Layout;
class SiteFacilities;
class WindowState;

struct BatchPageServices {
    // Asks where to save the CSV; empty when the user cancelled.
    std::function<QString(QWidget& parent)> askSavePath;
    // Places copied rows on the clipboard; false when they could not be placed.
    std::function<bool(const QString& text)> copyText;
    // The facility codes this site uses, which rank the formats of a card read; null for none.
    const SiteFacilities* site = nullptr;
};

class BatchPage : public QWidget {
    Q_OBJECT

  public:
    // Cards are read through `reads`; `state` says when a reader is found and when one is busy.
    BatchPage(CardReads& reads, const WindowState& state, BatchPageServices services,
              QWidget* parent = nullptr);

    const BatchTable& table() const { return table_; }
    // Writes the table as CSV to `path`; false, with the reason shown on the page, on failure.
    bool exportCsv(const QString& path);
    // Builds the table from the page's settings now rather than after the pause in typing.
    void rebuildNow();
    // The controls that take input, in Tab order.
    QList<QWidget*> tabStops() const;

  signals:
    void rebuilt();

  private:
    QWidget* buildSettings();
    QWidget* buildHotstamps();
    QWidget* buildActions();
    void connectInputs();
    void exportClicked();
    void copySelection();
    void say(const QString& text);
    std::vector<std::string> hotstamps(const Layout& l);
    void convertHotstamps();
    void readCard(CardSource source);
    void cardRead(const CardReading& reading);
    void enableReads();

    CardReads& reads_;
    const WindowState& state_;
    BatchPageServices services_;
    std::vector<BatchRow> cardsRead_;  // kept while the page shows a range or a list
    std::optional<CardSource> reading_;  // this page's read, while it is the step running
    BatchTable table_;
    QTimer rebuildTimer_;
    QComboBox* format_ = nullptr;
    QSpinBox* facility_ = nullptr;
    QSpinBox* version_ = nullptr;
    QRadioButton* byRange_ = nullptr;
    QRadioButton* byList_ = nullptr;
    QRadioButton* byReads_ = nullptr;
    QPushButton* readUsb_ = nullptr;
    QPushButton* readLock_ = nullptr;
    QLineEdit* from_ = nullptr;
    QLineEdit* to_ = nullptr;
    QPlainTextEdit* pasted_ = nullptr;
    QTableView* view_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* copy_ = nullptr;
    QLabel* status_ = nullptr;
};

}  // namespace morvane
