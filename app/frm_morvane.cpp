#include "app/frm_morvane.h"

#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QShortcut>
#include <QTabBar>
#include <iterator>

#include "app/bit_map_panel.h"
#include "app/clipboard/clipboard_port.h"
#include "app/invocation.h"
#include "app/message_boxes.h"
#include "app/qt_text.h"
#include "morvane/version.h"
#include "ui_frm_morvane.h"

// The pictures live in this static library: register them before the first window needs them.
static void registerPictures() { Q_INIT_RESOURCE(morvane); }

namespace morvane {

frmMorvane::frmMorvane(WindowServices services, QWidget* parent)
    : QWidget(parent),
      ui(std::make_unique<Ui::frmMorvane>()),
      messages_(services.messages),
      clipboard_(services.clipboard),
      readerSteps_(std::move(services.readerLibrary), services.programFolder,
                   services.readerStepDeadline) {
    registerPictures();
    ui->setupUi(this);

    // Digits and bits line up in a fixed-pitch font; the prox data box keeps its light 3-D face.
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    for (QLineEdit* box : {ui->txtBoxProxData, ui->txtData, ui->txtBits}) box->setFont(fixed);
    QPalette light = ui->txtBoxProxData->palette();
    const QColor base = light.color(QPalette::Base);
    const QColor midlight = light.color(QPalette::Midlight);
    light.setColor(QPalette::Base,
                   QColor((base.red() + midlight.red()) / 2, (base.green() + midlight.green()) / 2,
                          (base.blue() + midlight.blue()) / 2));
    ui->txtBoxProxData->setPalette(light);

    auto* esc = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(esc, &QShortcut::activated, ui->cmdCancel, &QPushButton::click);

    setUpTabOrder();
    connectHandlers();
    bitMap_ = new BitMapPanel(*ui, sCardFormat, lFacilityCode, this);
    qApp->installEventFilter(&lockInputGuard_);
    Form_Load();
}

frmMorvane::~frmMorvane() { qApp->removeEventFilter(&lockInputGuard_); }

// The Data Input boxes come first, then the end buttons and the tabs, then the rest of each
// page. The chain is set here because it runs through the tab control's own tab bar.
void frmMorvane::setUpTabOrder() {
    QWidget* const chain[] = {
        ui->txtBoxSerialNo,
        ui->txtFacilityCode,
        ui->txtVersion,
        ui->cmdConvert,
        ui->cmdCopyToCB,
        ui->cmdCancel,
        ui->cmdOK,
        ui->SSTab1->tabBar(),
        ui->txtBoxProxData,
        ui->opt26Bit,
        ui->opt34Bit,
        ui->opt35Bit,
        ui->opt35BitV,
        ui->opt36BitV,
        ui->opt37bitV,
        ui->opt37Bit,
        ui->optProxif,
        ui->optCasi,
        ui->Text2,
        ui->txtData,
        ui->cmdStart,
        ui->txtBits,
        ui->Text1,
        ui->cmdGetCard,
        ui->ComboComPort,
        ui->btnReadUSB,
        ui->btnReinitializeUSB,
    };
    for (std::size_t i = 1; i < std::size(chain); ++i) QWidget::setTabOrder(chain[i - 1], chain[i]);
}

void frmMorvane::connectHandlers() {
    // A box's change handling runs for every new text, typed or set by code; textChanged is
    // emitted at once, nested, and not for the text a box already holds.
    connect(ui->txtBoxSerialNo, &QLineEdit::textChanged, this, [this] { txtBoxSerialNo_Change(); });
    connect(ui->txtFacilityCode, &QLineEdit::textChanged, this,
            [this] { txtFacilityCode_Change(); });
    connect(ui->txtVersion, &QLineEdit::textChanged, this, [this] { txtVersion_Change(); });
    connect(ui->txtData, &QLineEdit::textChanged, this, [this] { txtData_Change(); });
    ui->txtBoxSerialNo->installEventFilter(this);
    ui->txtFacilityCode->installEventFilter(this);
    connectFormatButtons();
    connectButtons();
}

// Switching an option button off runs nothing: only the one switched on has clicked.
void frmMorvane::connectFormatButtons() {
    const std::pair<QRadioButton*, void (frmMorvane::*)()> formats[] = {
        {ui->opt26Bit, &frmMorvane::opt26Bit_Click},
        {ui->opt34Bit, &frmMorvane::opt34Bit_Click},
        {ui->opt35Bit, &frmMorvane::opt35Bit_Click},
        {ui->opt35BitV, &frmMorvane::opt35BitV_Click},
        {ui->opt36BitV, &frmMorvane::opt36BitV_Click},
        {ui->opt37bitV, &frmMorvane::opt37bitV_Click},
        {ui->opt37Bit, &frmMorvane::opt37Bit_Click},
        {ui->optProxif, &frmMorvane::optProxif_Click},
        {ui->optCasi, &frmMorvane::optCasi_Click},
    };
    for (const auto& [button, handler] : formats) {
        connect(button, &QRadioButton::toggled, this, [this, handler](bool on) {
            if (on) (this->*handler)();
        });
    }
    connect(ui->chkQRVFormat, &QCheckBox::toggled, this, [this] { chkQRVFormat_Click(); });
}

void frmMorvane::connectButtons() {
    const std::pair<QPushButton*, void (frmMorvane::*)()> buttons[] = {
        {ui->cmdConvert, &frmMorvane::cmdConvert_Click},
        {ui->cmdStart, &frmMorvane::cmdStart_Click},
        {ui->cmdOK, &frmMorvane::cmdOK_Click},
        {ui->cmdCancel, &frmMorvane::cmdCancel_Click},
        {ui->cmdCopyToCB, &frmMorvane::cmdCopyToCB_Click},
        {ui->cmdGetCard, &frmMorvane::cmdGetCard_Click},
        {ui->btnReadUSB, &frmMorvane::btnReadUSB_Click},
        {ui->btnReinitializeUSB, &frmMorvane::btnReinitializeUSB_Click},
    };
    for (const auto& [button, handler] : buttons) {
        connect(button, &QPushButton::clicked, this, [this, handler] { (this->*handler)(); });
    }
}

void frmMorvane::Form_Activate() {
    ui->SSTab1->setCurrentIndex(0);
    ui->txtBoxSerialNo->setFocus(Qt::OtherFocusReason);
}

bool frmMorvane::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate && !activated_) {
        activated_ = true;
        Form_Activate();
    }
    return QWidget::event(event);
}

bool frmMorvane::eventFilter(QObject* watched, QEvent* event) {
    if (watched == ui->txtBoxSerialNo && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            txtBoxSerialNo_Enter();
            return true;
        }
    }
    if (watched == ui->txtFacilityCode && event->type() == QEvent::FocusOut) {
        // A message box or another program taking the focus is not the user leaving the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            txtFacilityCode_LostFocus();
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmMorvane::showMessage(std::string_view text) {
    messages_.show(this, Message{.text = toQt(text)});
}

void frmMorvane::Boxes::showMessage(std::string_view text) { window_.showMessage(text); }
void frmMorvane::Boxes::setHotstampBox(std::string_view text) {
    window_.ui->txtBoxSerialNo->setText(toQt(text));
}
void frmMorvane::Boxes::setFacilityBox(std::string_view text) {
    window_.ui->txtFacilityCode->setText(toQt(text));
}
void frmMorvane::Boxes::setVersionBox(std::string_view text) {
    window_.ui->txtVersion->setText(toQt(text));
}
std::string frmMorvane::Boxes::facilityBox() const {
    return toStd(window_.ui->txtFacilityCode->text());
}
std::string frmMorvane::Boxes::versionBox() const { return toStd(window_.ui->txtVersion->text()); }

// Facility code, card format and QRV mode as the calling program asked for them. Each setting
// runs the handling of the control it changes, as if the user had made it.

// A result that cannot reach the clipboard must not be lost: the user is told and the window
// stays open.
bool frmMorvane::placeOnClipboard(const std::string& text) {
    if (clipboard_.placeText(toQt(text))) return true;
    messages_.show(this, Message{.text = QStringLiteral(
                                     "The result could not be placed on the clipboard. Morvane "
                                     "stays open so that it is not lost.")});
    return false;
}

void frmMorvane::cmdOK_Click() {
    const ResultFields fields{toStd(ui->txtBoxProxData->text()), lFacilityCode, sCardFormat,
                              bQRVFormat, bProxDataOnly};
    if (placeOnClipboard(okResultString(fields))) close();
}

void frmMorvane::cmdCancel_Click() {
    if (placeOnClipboard(std::string(kCancelResult))) close();
}

void frmMorvane::cmdCopyToCB_Click() {
    if (placeOnClipboard(toStd(ui->txtBoxProxData->text()))) bProxDataOnly = true;
}

}  // namespace morvane
