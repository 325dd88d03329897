#include "Config.h"

#include "AlarmOutputsTable.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/DiagnosticLevel.h"
#include "ui/panel/KeyboardAccess.h"
#include "ui/panel/WindowPlacement.h"
#include "ui_Config.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace {

const std::string kControl = "Control";
// "Left3", "Top3", "Visible3".
constexpr int kWindowNumber = 3;
// The left column alone: port, general settings, logging settings.
constexpr int kNarrowWidth = 230;
constexpr int kHeight = 530;

} // namespace

TForm3::TForm3(InstrumentPort& serialPort, const PanelContext& context, QWidget* parent)
    : SecondaryForm(kWindowNumber, context.settings, context.operatorInteraction, parent),
      ui(std::make_unique<Ui::TForm3>()), serialPort_(serialPort), context_(context) {
    ui->setupUi(this);
    download_ = std::make_unique<LogDownload>(
        context_, LogDownloadControls{ui->bDownload, ui->bCancel, ui->GDownload, ui->lLogName});
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    ConnectControls();
    FormCreate();
}

TForm3::~TForm3() {
    // The port box's edit loses the focus as the window goes; nothing of this window may run then.
    ui->cbPort->lineEdit()->disconnect(this);
    ui->cbPort->lineEdit()->removeEventFilter(this);
    ui->cbPort->removeEventFilter(this);
}

void TForm3::ConnectControls() {
    connect(ui->bClose, &QPushButton::clicked, this, &TForm3::bCloseClick);
    connect(ui->bMqtt, &QPushButton::clicked, this, [this] {
        if (context_.windows.brokerSetup != nullptr) {
            context_.windows.brokerSetup->EditBrokerSettings();
        }
    });
    connect(ui->bRefresh, &QPushButton::clicked, this, &TForm3::bRefreshClick);
    connect(ui->bSend, &QPushButton::clicked, this, &TForm3::bSendClick);
    connect(ui->bDownload, &QPushButton::clicked, this, &TForm3::bDownloadClick);
    connect(ui->bCancel, &QPushButton::clicked, this, &TForm3::bCancelClick);
    connect(ui->bZeroLog, &QPushButton::clicked, this, &TForm3::bZeroLogClick);
    connect(ui->bTestExM, &QPushButton::clicked, this, &TForm3::bTestExMClick);
    // The operator's choice of an item; the status reply sets the groups with signals held.
    const auto onChoice = [this](QRadioButton* item, void (TForm3::*handler)()) {
        connect(item, &QRadioButton::toggled, this, [this, handler](bool checked) {
            if (checked) {
                (this->*handler)();
            }
        });
    };
    onChoice(ui->gUnit0, &TForm3::gUnitClick);
    onChoice(ui->gUnit1, &TForm3::gUnitClick);
    onChoice(ui->gAudible0, &TForm3::gAudibleClick);
    onChoice(ui->gAudible1, &TForm3::gAudibleClick);
    onChoice(ui->gAutoscan0, &TForm3::gAutoscanClick);
    onChoice(ui->gAutoscan1, &TForm3::gAutoscanClick);
    onChoice(ui->gLogging0, &TForm3::gLoggingClick);
    onChoice(ui->gLogging1, &TForm3::gLoggingClick);
    // Only an item of the list reaches the port: picked, typed, or restarted by a double click.
    connect(ui->cbPort, &QComboBox::activated, this, &TForm3::cbPortChange);
    connect(ui->cbPort->lineEdit(), &QLineEdit::editingFinished, this, &TForm3::cbPortTextEntered);
    ui->cbPort->lineEdit()->installEventFilter(this);
    ui->cbPort->installEventFilter(this);
    KeyboardAccess::OnKeys(*ui->cbPort, {Qt::Key_F5}, [this] { cbPortChange(); });
}

void TForm3::FormCreate() {
    setFixedSize(kNarrowWidth, kHeight);
    outputs_ = std::make_unique<AlarmOutputsTable>(
        AlarmOutputsControls{ui->sgOP, ui->bRead, ui->bWrite, ui->bLoad, ui->bSave, ui->lFilename},
        context_,
        ExchangeGate{[this] { return exchangeRunning_; },
                     [this](bool locked) { LockForExchange(locked); }},
        // A child, so it is found among the window's objects; destroyed before the controls.
        this);
    const bool shown = WindowPlacement::Restore(*this, context_.settings, kWindowNumber);
    ui->cbPCTime->setChecked(ReadInteger(context_.settings, kControl, "PC Time", 1) > 0);
    if (shown) {
        show();
    }
    FillPortChoice();
    ui->lLogName->clear();
    if (context_.windows.main != nullptr) {
        context_.windows.main->ShowCommsCaption(SelectedPort() + QStringLiteral("   Interval"));
    }
    const bool systemFlagShown = context_.state.HasDiagnosticBit(DiagnosticBit::kSystemFlagField);
    ui->lSystem->setVisible(systemFlagShown);
    ui->eSystemFlag->setVisible(systemFlagShown);
    ui->bTestExM->setVisible(context_.state.HasDiagnosticBit(DiagnosticBit::kLogMemoryTest));
    ShowPortState();
    ui->sgOP->setCurrentCell(1, 1);
}

void TForm3::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!event->spontaneous()) {
        FormShow();
    }
}

void TForm3::FormShow() {
    ShowPortState();
    if (!exchangeRunning_) {
        context_.exchange.Send(protocol::Question::Poll(protocol::Poll::kStatus));
    }
}

void TForm3::StoreOwnSettings() {
    WriteInteger(context_.settings, kControl, "PC Time", ui->cbPCTime->isChecked() ? 1 : 0);
}

void TForm3::bCloseClick() {
    close();
}

void TForm3::bRefreshClick() {
    if (exchangeRunning_) {
        return;
    }
    if (context_.windows.main != nullptr) {
        context_.windows.main->ShowConnecting();
    }
    context_.exchange.Send(protocol::Question::Poll(protocol::Poll::kStatus));
}

void TForm3::ShowAlarmOutput(const protocol::AlarmOutputSetting& output) {
    outputs_->ShowAlarmOutput(output);
}

void TForm3::LockForExchange(bool locked) {
    exchangeRunning_ = locked;
    const std::initializer_list<QWidget*> interleaving{
        ui->bSend,    ui->bRefresh, ui->cbPort, ui->bDownload, ui->bZeroLog,
        ui->bTestExM, ui->bRead,    ui->bWrite, ui->bLoad,     ui->bSave,
    };
    for (QWidget* control : interleaving) {
        control->setEnabled(!locked);
    }
    // The popup menu's Read and Write; editing refuses while exchangeRunning_ is set.
    outputs_->SetOperationsEnabled(!locked);
}

void TForm3::ShowModelLayout(int width, bool zeroLogShown) {
    setFixedSize(width, kHeight);
    ui->bZeroLog->setVisible(zeroLogShown);
}
