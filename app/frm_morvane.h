#pragma once

#include <QWidget>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "app/held_keys.h"
#include "app/reader_steps.h"
#include "formats/encoder_host.h"
#include "readers/lock/lock_input_guard.h"
#include "readers/lock/lock_reader.h"
#include "readers/lock/read_from_lock.h"

namespace Ui {
class frmMorvane;
}

class QLineEdit;
class QPushButton;
class QRadioButton;

namespace morvane {

class BitMapPanel;
class ClipboardPort;
class MessageBoxes;
class NumericError;
struct ClipboardRead;
struct Invocation;

// What the window needs from the world around it; the widget tests hand in recorders.
struct WindowServices {
    MessageBoxes& messages;
    ClipboardPort& clipboard;
    // How the USB readers are reached (the reader host, or a stand-in); none: no reader.
    std::unique_ptr<ReaderLibrary> readerLibrary{};
    // Where Default.hwg is looked for; empty: nowhere.
    std::string programFolder{};
    // How long a whole reader step may take.
    std::chrono::milliseconds readerStepDeadline = kReaderStepDeadline;
};

// The program's one window: the "Data Input" page (hotstamp, facility code and version to prox
// data) and the "Split Data" page (card data back to hotstamp, facility code and version).
// Every control carries its handler's name; a handler runs whenever its control's value
// changes, by the user or by code, nested, and not at all when a value is set to what it holds.
class frmMorvane : public QWidget {
    Q_OBJECT

  public:
    explicit frmMorvane(WindowServices services, QWidget* parent = nullptr);
    ~frmMorvane() override;

    // Window state: the card format code, facility code and QRV flag in force, and whether
    // "&OK" hands back the bare prox data instead of the full result string.
    std::string sCardFormat;
    std::int32_t lFacilityCode = 0;
    bool bQRVFormat = false;
    bool bProxDataOnly = false;

  protected:
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // The Data Input boxes as the calculation reads and sets them.
    class Boxes final : public EncoderHost {
      public:
        explicit Boxes(frmMorvane& window) : window_(window) {}
        void showMessage(std::string_view text) override;
        void setHotstampBox(std::string_view text) override;
        void setFacilityBox(std::string_view text) override;
        void setVersionBox(std::string_view text) override;
        std::string facilityBox() const override;
        std::string versionBox() const override;

      private:
        frmMorvane& window_;
    };

    // The controls "Read from Lock" reads and writes, and the keyboard at the click.
    class LockButtonControls final : public LockButtonView {
      public:
        explicit LockButtonControls(frmMorvane& window) : window_(window) {}
        bool ctrlHeld() const override;
        bool shiftHeld() const override;
        void showMessage(std::string_view text) override;
        void setCardData(const std::string& text) override;
        void setCaption(const std::string& text) override;
        std::string selectedPort() const override;
        void setPorts(const std::vector<std::string>& ports) override;

      private:
        frmMorvane& window_;
    };

    void showMessage(std::string_view text);
    void showCritical(std::string_view text, std::string_view title);
    void setUpTabOrder();
    void connectHandlers();
    void connectFormatButtons();
    void connectButtons();
    void Form_Load();
    void applyStartUpText(const ClipboardRead& read);
    void showStartUpNotice(bool clipboardRead);
    void applyInvocation(const Invocation& invocation);
    void startReaders();
    void Form_Activate();

    // Data Input page
    void txtBoxSerialNo_Change();
    void txtBoxSerialNo_Enter();
    void txtFacilityCode_Change();
    void txtFacilityCode_LostFocus();
    void txtVersion_Change();
    void cmdConvert_Click();
    void recalculate();
    void enableOKForResult();
    void facilityBoxSteps();
    void withErrorHandling(const std::function<void()>& steps);
    void reportError(const NumericError& error);

    // Format selection
    void opt26Bit_Click();
    void opt34Bit_Click();
    void opt35Bit_Click();
    void opt35BitV_Click();
    void opt36BitV_Click();
    void opt37bitV_Click();
    void opt37Bit_Click();
    void optProxif_Click();
    void optCasi_Click();
    void chkQRVFormat_Click();
    void selectFormat(std::string_view code);

    // Split Data page
    void txtData_Change();
    void cmdStart_Click();
    QLineEdit* resultBox(std::string_view name) const;

    // Buttons whose work belongs to the result strings and the readers.
    void cmdOK_Click();
    void cmdCancel_Click();
    void cmdCopyToCB_Click();
    void cmdGetCard_Click();
    void FillComPortList();
    void keepLockButtonWidth();
    void btnReadUSB_Click();
    void btnReinitializeUSB_Click();
    void initUsbReaders();
    void showReadersFound(const ReinitializeOutcome& outcome);
    void showCardRead(const CardReadOutcome& outcome);
    void showReaderStepRunning(QPushButton* stepButton);
    void showReadersIdle();
    void markCaptionForReader();
    bool placeOnClipboard(const std::string& text);

    std::unique_ptr<Ui::frmMorvane> ui;
    MessageBoxes& messages_;
    ClipboardPort& clipboard_;
    HeldKeys heldKeys_{*this};
    Boxes boxes_{*this};
    bool activated_ = false;
    // The USB readers, reached off the window's thread; what their last search found.
    ReaderSteps readerSteps_;
    bool usbReaderFound_ = false;
    // The lock-reading component, what keeps the user's input off the window while it waits,
    // and the button that starts it.
    LockReader tmread1;
    LockInputGuard lockInputGuard_{tmread1};
    LockButtonControls lockButtonControls_{*this};
    ReadFromLock lockButton_{lockButtonControls_, tmread1};
    // Why a card is or is not each format's credential; owned by the window as a child.
    BitMapPanel* bitMap_ = nullptr;
};

}  // namespace morvane
