#pragma once

#include <QWidget>
#include <memory>
#include <string>

#include "app/held_keys.h"
#include "app/reader_steps.h"
#include "app/window_state.h"
#include "readers/reader_library.h"

namespace Ui {
class frmMorvane;
}

namespace morvane {

class BatchPage;
class BitMapPanel;
struct BatchPageServices;
class ClipboardPort;
class DataInputPage;
class MessageBoxes;
class SplitDataPage;
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

// The program's one window: the "Data Input" and "Split Data" pages, the bit map below them and
// the end buttons. It assembles the pages around their shared state, runs the start-up sequence
// and hands the result back to the calling program.
class frmMorvane : public QWidget {
    Q_OBJECT

  public:
    explicit frmMorvane(WindowServices services, QWidget* parent = nullptr);
    ~frmMorvane() override;

  protected:
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;

  private:
    void connectPages();
    void setUpTabOrder();
    bool takesTab(QWidget* w) const;
    void showPageOnMap();
    static BatchPageServices batchServices();

    // Start-up (start_up.cpp).
    void startUp();
    void applyStartUpText(const ClipboardRead& read);
    void showStartUpNotice(bool clipboardRead);
    void applyInvocation(const Invocation& invocation);
    void markCaptionForReader();
    void firstActivation();

    // The result handshake.
    void enableOK(bool usable);
    void handBackResult();
    void handBackCancel();
    void copyProxData();
    bool placeOnClipboard(const std::string& text);

    std::unique_ptr<Ui::frmMorvane> ui_;
    MessageBoxes& messages_;
    ClipboardPort& clipboard_;
    WindowState state_;
    HeldKeys heldKeys_{*this};
    DataInputPage* dataInput_;
    SplitDataPage* splitData_;
    BatchPage* batch_;
    BitMapPanel* bitMap_;
    QList<QWidget*> tabStops_;  // in order; Tab comes round from the last to the first
    bool activated_ = false;
};

}  // namespace morvane
