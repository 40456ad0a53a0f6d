#pragma once

#include <QWidget>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "formats/encoder_host.h"

namespace Ui {
class DataInputPage;
}

namespace morvane {

class CardReads;
struct CardCheck;
struct CardReading;
class MessageBoxes;
class NumericError;
class WindowState;

// The "Data Input" page: hotstamp, facility code and version to the prox data of the card format
// chosen with its option buttons. Every box runs its change handling whenever its text changes,
// by the user or by code, nested, and not at all when a text is set to what it holds.
class DataInputPage : public QWidget {
    Q_OBJECT

  public:
    // `reads` reaches the readers "Check Card" reads the card on.
    DataInputPage(WindowState& state, MessageBoxes& messages, CardReads& reads,
                  QWidget* parent = nullptr);
    ~DataInputPage() override;

    QString proxData() const;
    // The start-up settings, each run through its control's handling as a user's change is.
    void setFacilityText(const QString& text);
    void setVersionText(const QString& text);
    void checkFormatButton(std::string_view code);
    void focusHotstamp();
    // The page's tab stops in order: the boxes and "Convert" the window's chain starts with,
    // then the copy button, then the rest of the page.
    QList<QWidget*> leadingStops() const;
    QWidget* copyButton() const;
    QList<QWidget*> trailingStops() const;

  signals:
    // Enter in the hotstamp box or "Convert" decided whether "&OK" may hand back the result.
    void resultDecided(bool usable);
    void copyRequested();
    void proxDataChanged();
    // "Check Card" compared the card on the reader with the prox data shown.
    void cardChecked(const CardCheck& check);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The boxes as the calculation reads and sets them.
    class Boxes final : public EncoderHost {
      public:
        explicit Boxes(DataInputPage& page) : page_(page) {}
        void showMessage(std::string_view text) override;
        void setHotstampBox(std::string_view text) override;
        void setFacilityBox(std::string_view text) override;
        void setVersionBox(std::string_view text) override;
        std::string facilityBox() const override;
        std::string versionBox() const override;

      private:
        DataInputPage& page_;
    };

    void connectBoxes();
    void hotstampChanged();
    void hotstampEntered();
    void facilityChanged();
    void versionChanged();
    void convert();
    void recalculate();
    void decideResult();
    void checkCard();
    struct Typed {
        QString proxData;
        std::string format;
        std::int32_t facilityCode;
    };
    void showCheck(const Typed& typed, const CardReading& reading);
    void enableCheck();
    void facilityBoxSteps();
    void withErrorHandling(const std::function<void()>& steps);
    void reportError(const NumericError& error);

    // The format option buttons (format_buttons.cpp).
    void connectFormatButtons();
    void selectFormat(std::string_view code);
    void holdForQrvMode();

    std::unique_ptr<Ui::DataInputPage> ui_;
    WindowState& state_;
    MessageBoxes& messages_;
    CardReads& reads_;
    bool checking_ = false;  // this page's check is the reader step running
    Boxes boxes_{*this};
};

}  // namespace morvane
