#include "Main.h"

#include "instrument/InstrumentLine.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/DiagnosticLevel.h"
#include "ui/panel/KeyboardAccess.h"
#include "ui/panel/LocaleText.h"
#include "ui_Main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>

namespace {

const std::string kControl = "Control";

// How long a hint stays shown.
constexpr int kHintShownMs = 10000;

// The edit is left when the operator moves to another control of this window; switching to
// another window or opening a menu leaves the focus where it was.
bool LeavesForAnotherControl(Qt::FocusReason reason) {
    return reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason;
}

} // namespace

TForm1::TForm1(InstrumentPort& serialPort, const PanelContext& context, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TForm1>()), serialPort_(serialPort),
      settings_(context.settings), operator_(context.operatorInteraction), clock_(context.clock),
      exchange_(context.exchange), frames_(context.exchange.Frames()), state_(context.state),
      windows_(context.windows) {
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(643, 224);
    ui->iOnline0->setPixmap(QPixmap(QStringLiteral(":/OnlineGray")));
    ui->iOnline1->setPixmap(QPixmap(QStringLiteral(":/OnlineGreen")));
    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(1000);
    ConnectControls();
}

TForm1::~TForm1() = default;

void TForm1::ConnectControls() {
    // Queued, as a timer message would be: a tick that waits for the link lets the next ticks
    // run inside its wait, and so the busy watchdog goes on.
    connect(Timer1, &QTimer::timeout, this, &TForm1::Timer1Timer, Qt::QueuedConnection);
    connect(ui->bExit, &QPushButton::clicked, this, &TForm1::bExitClick);
    connect(ui->bChart1, &QPushButton::clicked, this, &TForm1::bChart1Click);
    connect(ui->bConfig, &QPushButton::clicked, this, &TForm1::bConfigClick);
    connect(ui->bENG, &QPushButton::clicked, this, &TForm1::bENGClick);
    connect(ui->bAbout, &QPushButton::clicked, this, &TForm1::bAboutClick);
    connect(ui->bCalibrate, &QPushButton::clicked, this, &TForm1::bCalibrateClick);
    connect(ui->bReset, &QPushButton::clicked, this, &TForm1::bResetClick);
    connect(ui->StartButton, &QPushButton::clicked, this, &TForm1::StartButtonClick);
    connect(ui->StopButton, &QPushButton::clicked, this, &TForm1::StopButtonClick);
    connect(ui->eInterval, &QLineEdit::returnPressed, this, &TForm1::eIntervalExit);
    const std::initializer_list<QWidget*> watched = {ui->gbBCC_error, ui->lBCC_error, ui->gbComms,
                                                     ui->lComm_count, ui->eInterval};
    for (QWidget* widget : watched) {
        widget->installEventFilter(this);
    }
}

// The double-clicks of the window from the keyboard, and Tab through it as it is laid out.
void TForm1::ConnectKeyboard() {
    for (int channel = 0; channel < ChannelDisplays::kChannels; ++channel) {
        KeyboardAccess::MakePressable(*displays_[channel].reading,
                                      channel == 0 ? QStringLiteral("Cold junction")
                                                   : QStringLiteral("Channel %1").arg(channel),
                                      [this, channel] { lDispDblClick(channel); });
    }
    KeyboardAccess::MakePressable(*ui->lComm_count, QStringLiteral("Comms errors"),
                                  [this] { lComm_countDblClick(); });
    KeyboardAccess::MakePressable(*ui->lBCC_error, QStringLiteral("BCC errors"),
                                  [this] { lBCC_errorDblClick(); });
    QList<QWidget*> order{ui->eInterval};
    for (int channel = 1; channel < ChannelDisplays::kChannels; ++channel) {
        order.append(displays_[channel].reading);
    }
    order << ui->rbTemperature << ui->rbMilliVolt << ui->rbLead << ui->StartButton << ui->StopButton
          << displays_[0].reading << ui->lComm_count << ui->lBCC_error << ui->bChart1
          << ui->bCalibrate << ui->bENG << ui->bConfig << ui->bAbout << ui->bReset << ui->bExit;
    KeyboardAccess::SetTabOrder(order);
}

void TForm1::FormCreate() {
    newReading_ = false;
    ShowOnline(false);
    setWindowTitle(QStringLiteral("Control Panel"));
    ui->lTest->setText(QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + '/') +
                       QStringLiteral("Vxxx!ini.ini"));
    ReadSettings();
    displays_.Create(this, this);
    ConnectKeyboard();
    ApplyDiagnosticLevel();
    for (QWidget* widget : findChildren<QWidget*>()) {
        widget->setToolTipDuration(kHintShownMs);
    }
    ui->lLogName->clear();
    state_.History.Clear();
    try {
        serialPort_.RestoreSettings(settings_);
    } catch (const SettingsStoreError&) {
        // The port keeps its own defaults.
    }
    serialPort_.SetBaudRate(kInstrumentBaudRate);
    serialPort_.SetActive(true);
    if (!configurationWasVisible_) {
        exchange_.Send(protocol::Question::Poll(protocol::Poll::kStatus));
    }
    // The instrument settles after the port opens; nothing is handled meanwhile.
    clock_.Sleep(kSettleAfterOpenMs);
    Timer1->start();
    frames_.SetWatchdogRunning(true);
}

void TForm1::ReadSettings() {
    move(ReadInteger(settings_, kControl, "Left1", 0), ReadInteger(settings_, kControl, "Top1", 0));
    // A stored interval outside 2..3600 would leave the countdown where it never reaches 0.
    const int interval = ClampInterval(ReadInteger(settings_, kControl, "Comms_Interval", 2));
    state_.PollCountdown = interval;
    outputsCountdown_ = interval / 2;
    ui->eInterval->setText(QString::number(interval));
    switch (ReadInteger(settings_, kControl, "Display_Selection", 3)) {
    case 1:
        ui->rbMilliVolt->setChecked(true);
        break;
    case 2:
    case 3:
        ui->rbTemperature->setChecked(true);
        break;
    default:
        break;
    }
    state_.DiagnosticLevel = ReadInteger(settings_, kControl, "Diagnostic Level", 0);
    configurationWasVisible_ = ReadInteger(settings_, kControl, "Visible3", 0) > 0;
}

void TForm1::ApplyDiagnosticLevel() {
    if (state_.HasDiagnosticBit(DiagnosticBit::kEngineeringWindow)) {
        ui->bENG->show();
    }
    displays_[0].group->setVisible(state_.HasDiagnosticBit(DiagnosticBit::kColdJunctionDisplay));
    if (state_.HasDiagnosticBit(DiagnosticBit::kCommsDiagnostics)) {
        ui->lTest->show();
        ui->gbComms->show();
        ui->gbBCC_error->show();
        frames_.SetDiagnosticEcho(true);
    }
    if (state_.HasDiagnosticBit(DiagnosticBit::kNoMinMaxTracking)) {
        ui->bReset->setEnabled(false);
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    if (state_.Closing) {
        return;
    }
    // Every wait and bulk exchange still running ends at its next step.
    state_.Closing = true;
    Timer1->stop();
    StopButtonClick();
    for (SecondaryWindow* window : std::initializer_list<SecondaryWindow*>{
             windows_.chart, windows_.configuration, windows_.channel, windows_.calibration,
             windows_.engineering}) {
        if (window != nullptr) {
            window->CloseWindow();
        }
    }
    WriteSettings();
    serialPort_.SetActive(false);
    QCoreApplication::quit();
}

void TForm1::WriteSettings() {
    try {
        WriteInteger(settings_, kControl, "Left1", x());
        WriteInteger(settings_, kControl, "Top1", y());
        WriteInteger(settings_, kControl, "Comms_Interval",
                     IntervalFromText(ui->eInterval->text().toStdString()));
        WriteInteger(settings_, kControl, "Display_Selection",
                     ui->rbMilliVolt->isChecked() ? 1 : 2);
        serialPort_.StoreSettings(settings_);
    } catch (const SettingsStoreError& failure) {
        operator_.ReportError(QStringLiteral("The settings could not be stored: ") +
                              QString::fromLocal8Bit(failure.what()));
    }
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonDblClick) {
        if (watched == ui->gbBCC_error || watched == ui->lBCC_error) {
            lBCC_errorDblClick();
            return true;
        }
        if (watched == ui->gbComms || watched == ui->lComm_count) {
            lComm_countDblClick();
            return true;
        }
        const int channel = displays_.ChannelOfReading(watched);
        if (channel >= 0) {
            lDispDblClick(channel);
            return true;
        }
    }
    if (event->type() == QEvent::FocusOut && watched == ui->eInterval &&
        LeavesForAnotherControl(static_cast<QFocusEvent*>(event)->reason())) {
        eIntervalExit();
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::bExitClick() {
    StopButtonClick();
    close();
}

namespace {

void ToggleShown(SecondaryWindow* window) {
    if (window != nullptr) {
        window->SetShown(!window->IsShown());
    }
}

} // namespace

void TForm1::bChart1Click() {
    ToggleShown(windows_.chart);
}

void TForm1::bConfigClick() {
    ToggleShown(windows_.configuration);
}

void TForm1::bENGClick() {
    ToggleShown(windows_.engineering);
}

void TForm1::bAboutClick() {
    if (windows_.about != nullptr) {
        windows_.about->ShowModal();
    }
}

void TForm1::bCalibrateClick() {
    if (PcLogging()) {
        operator_.Notify(QStringLiteral("Please stop logging before calibration."));
        return;
    }
    if (windows_.calibration == nullptr) {
        return;
    }
    if (windows_.calibration->IsShown()) {
        windows_.calibration->SetShown(false);
        return;
    }
    if (!ui->rbMilliVolt->isChecked()) {
        QString question;
        if (state_.InputMode == protocol::InputFamily::Thermocouple) {
            question = QStringLiteral("Switch to Millivolt?");
        } else if (state_.InputMode == protocol::InputFamily::Resistance) {
            question = QStringLiteral("Switch to Resistance?");
        }
        if (operator_.Ask(question)) {
            ui->rbMilliVolt->setChecked(true);
        }
    }
    windows_.calibration->SetShown(true);
}

void TForm1::bResetClick() {
    if (operator_.Ask(QStringLiteral("Reset Min/Max, are you sure?"))) {
        displays_.ResetMinMax();
    }
}

void TForm1::lBCC_errorDblClick() {
    if (operator_.Ask(QStringLiteral("Reset BCC error?"))) {
        frames_.ResetBccErrorCount();
    }
}

void TForm1::lComm_countDblClick() {
    if (operator_.Ask(QStringLiteral("Reset Comms error?"))) {
        frames_.ResetOutstandingCount();
    }
}

void TForm1::lDispDblClick(int channel) {
    if (windows_.channel == nullptr) {
        return;
    }
    windows_.channel->ShowChannelCaption(channel);
    if (channel != state_.SelectedChannel) {
        state_.SelectedChannel = channel;
        windows_.channel->MarkChannelSwitched();
        exchange_.Send(protocol::Question::Poll(protocol::Poll::Channel(channel)));
    }
    windows_.channel->SetShown(true);
    windows_.channel->Repaint();
}

void TForm1::PausePolling() {
    if (pollingPauses_++ == 0) {
        Timer1->stop();
        frames_.SetWatchdogRunning(false);
    }
}

void TForm1::ResumePolling() {
    if (pollingPauses_ > 0 && --pollingPauses_ == 0 && !state_.Closing) {
        Timer1->start();
        frames_.SetWatchdogRunning(true);
    }
}

QString TForm1::ChannelDisplayText(int channel) const {
    return displays_.ReadingText(channel);
}

bool TForm1::MilliVoltSelected() const {
    return ui->rbMilliVolt->isChecked();
}

void TForm1::SelectMilliVolt() {
    ui->rbMilliVolt->setChecked(true);
}

QString TForm1::ClockText() const {
    return ui->lClock->text();
}

void TForm1::ShowUnitText(const QString& text) {
    ui->lUnit->setText(text);
}

void TForm1::ShowCommsCaption(const QString& text) {
    ui->lComms->setText(text);
}

void TForm1::ShowConnecting() {
    setWindowTitle(QStringLiteral("Control Panel - connecting"));
}

void TForm1::ShowDisconnected() {
    // Nothing goes out to turn the indicator grey while the device is away.
    ShowOnline(false);
    setWindowTitle(QStringLiteral("Control Panel - disconnected"));
}

void TForm1::ShowCommsCount(int count) {
    ui->lComm_count->setText(QString::number(count));
}

void TForm1::ShowBccErrorCount(int count) {
    ui->lBCC_error->setText(QString::number(count));
}

void TForm1::ShowBrokerState(const QString& text) {
    ui->lBroker->setText(text);
    ui->lBroker->setAccessibleName(text);
}

void TForm1::ShowOnline(bool online) {
    ui->iOnline0->setVisible(!online);
    ui->iOnline1->setVisible(online);
}

void TForm1::ShowDiagnosticLine(const QString& text) {
    // The line is narrower than most frames: its hint shows the whole of it.
    ui->lTest->setText(text);
    ui->lTest->setToolTip(text);
}

QString TForm1::NowText(const QString& pattern) {
    return FormatDateTime(pattern, ToLocalDateTime(clock_.Now()));
}
