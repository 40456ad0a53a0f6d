#pragma once

#include <QWidget>
#include <array>
#include <chrono>
#include <filesystem>
#include <memory>

#include "app/card_reads.h"
#include "formats/format_ranking.h"
#include "formats/site_facilities.h"
#include "formats/split_catalogue.h"

namespace Ui {
class SplitDataPage;
}

class QLabel;
class QLineEdit;

namespace morvane {

class LockReadControls;
class MessageBoxes;
class ReaderLibrary;
class UsbReaderControls;
class WindowState;
struct SplitResult;

// The "Split Data" page: card data, typed or read from a lock or a USB reader, back to hotstamp,
// facility code and version under every format at once. One column of its grid is the one the
// bit map explains: the format the card data most likely is after Split Data, or the one the
// operator chooses by its heading, one of its boxes or the bit map's arrow keys.
class SplitDataPage : public QWidget, public CardReads {
    Q_OBJECT

  public:
    struct Readers {
        MessageBoxes& messages;
        std::unique_ptr<ReaderLibrary> library;  // none: no USB reader
        std::filesystem::path programFolder;     // where Default.hwg is looked for
        std::chrono::milliseconds stepDeadline;  // how long a whole reader step may take
    };
    SplitDataPage(WindowState& state, Readers readers, QWidget* parent = nullptr);
    ~SplitDataPage() override;

    // Start-up: the COM port list, then the USB readers.
    void startReaders();
    // The page's tab stops, in order.
    QList<QWidget*> tabStops() const;
    // The previous (-1) or next (+1) column the window shows, round from the last to the first.
    void stepColumn(int delta);
    // The facility codes this site uses, as read at start-up; null when it does not say.
    const SiteFacilities* site() const { return site_ ? &*site_ : nullptr; }
    // Other pages' card reads, through this page's readers and COM port.
    bool read(CardSource source, CardReadingDone done) override;

  signals:
    // The bit map's business: the split card data under the chosen column (with, for a most
    // likely format, why it is that), card data that could not be split and why, or no split
    // since the card data changed.
    void columnChosen(const QString& cardData, SplitFormatId column, const QString& mostLikely);
    void splitRefused(const QString& reason);
    void splitCleared();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    struct Column {
        QLabel* heading = nullptr;
        std::array<QLineEdit*, kGridRowCount> boxes{};  // none where the column has no such row
    };

    void mapColumns();
    void makeChoosable(SplitFormatId id);
    void clearResults();
    void splitCardData();
    void showResult(const SplitResult& result);
    void choose(SplitFormatId id);
    void markExplained();
    void putCardData(const QString& text, bool focus, std::optional<int> readerBits);
    void readFromLock(const CardReadingDone& done);

    std::unique_ptr<Ui::SplitDataPage> ui_;
    WindowState& state_;
    std::array<Column, kSplitFormatCount> columns_{};
    SplitFormatId chosen_ = SplitFormatId::F26;
    std::optional<SiteFacilities> site_;  // the facility codes this site uses, when it says
    FormatRanking ranking_{};
    QString rankingReason_;
    QString splitCardData_;  // as it stood when it was split
    std::optional<int> readerBits_;  // the reader's bit count while the box holds its read
    bool split_ = false;
    LockReadControls* lock_ = nullptr;
    UsbReaderControls* usb_ = nullptr;
};

}  // namespace morvane
