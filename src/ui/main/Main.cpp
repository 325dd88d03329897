#include "Main.h"

#include "LocaleText.h"
#include "Windows1252.h"
#include "ui/calibration/Calibration.h"
#include "ui/channel/uChannel.h"
#include "ui/chart/uChart.h"
#include "ui/config/Config.h"
#include "ui/dialogs/About.h"
#include "ui/engineering/Engineering.h"
#include "ui_Main.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDir>
#include <QPixmap>
#include <QTimer>

namespace {

const std::string kControl = "Control";

// "Diagnostic Level" bits that the main window reads.
constexpr int kEngineeringButton = 0x02;
constexpr int kColdJunctionDisplay = 0x04;
constexpr int kNoMinMaxTracking = 0x08;
constexpr int kCommsDiagnostics = 0x10;

constexpr int kHintHidePause = 10000;
constexpr int kStartUpWait = 2000;

} // namespace

TForm1::TForm1(InstrumentPort& serialPort, SettingsStore& settings,
               OperatorInteraction& operatorInteraction, Clock& clock, QWidget* parent)
    : QWidget(parent), ui(std::make_unique<Ui::TForm1>()), serialPort_(serialPort),
      settings_(settings), operator_(operatorInteraction), clock_(clock),
      frames_(serialPort, *this), dispatcher_(frames_, *this) {
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
    serialPort_.SetOnRxClusterEvent([this] { frames_.SerialPort1RxClusterEvent(); });
    FormCreate();
}

TForm1::~TForm1() {
    // Closed first: the worker looks at the handler only while the port is open.
    serialPort_.SetActive(false);
    serialPort_.SetOnRxClusterEvent(nullptr);
}

void TForm1::ConnectWindows(const PanelWindows& windows) {
    windows_ = windows;
}

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

void TForm1::FormCreate() {
    newReading_ = false;
    ShowOnline(false);
    setWindowTitle(QStringLiteral("Control Panel"));
    ui->lTest->setText(QDir::toNativeSeparators(QCoreApplication::applicationDirPath() + '/') +
                       QStringLiteral("Vxxx!ini.ini"));
    ReadSettings();
    displays_.Create(this, this);
    ApplyDiagnosticLevel();
    for (QWidget* widget : findChildren<QWidget*>()) {
        widget->setToolTipDuration(kHintHidePause);
    }
    ui->lLogName->clear();
    history_.Clear();
    try {
        serialPort_.RestoreSettings(settings_);
    } catch (const SettingsStoreError&) {
        // The port keeps its own defaults.
    }
    serialPort_.SetBaudRate(38400);
    serialPort_.SetActive(true);
    if (!configurationWasVisible_) {
        frames_.SendPoll('S');
    }
    // The instrument settles after the port opens; nothing is handled meanwhile.
    clock_.Sleep(kStartUpWait);
    Timer1->start();
}

void TForm1::ReadSettings() {
    move(ReadInteger(settings_, kControl, "Left1", 0), ReadInteger(settings_, kControl, "Top1", 0));
    // A stored interval outside 2..3600 would leave the countdown where it never reaches 0.
    const int interval = ClampInterval(ReadInteger(settings_, kControl, "Comms_Interval", 2));
    pollCountdown_ = interval;
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
    diagnosticLevel_ = ReadInteger(settings_, kControl, "Diagnostic Level", 0);
    configurationWasVisible_ = ReadInteger(settings_, kControl, "Visible3", 0) > 0;
}

void TForm1::ApplyDiagnosticLevel() {
    if (diagnosticLevel_ & kEngineeringButton) {
        ui->bENG->show();
    }
    displays_[0].group->setVisible(diagnosticLevel_ & kColdJunctionDisplay);
    if (diagnosticLevel_ & kCommsDiagnostics) {
        ui->lTest->show();
        ui->gbComms->show();
        ui->gbBCC_error->show();
        frames_.SetDiagnosticEcho(true);
    }
    if (diagnosticLevel_ & kNoMinMaxTracking) {
        ui->bReset->setEnabled(false);
    }
}

void TForm1::closeEvent(QCloseEvent* event) {
    FormClose();
    event->accept();
}

void TForm1::FormClose() {
    if (closed_) {
        return;
    }
    closed_ = true;
    Timer1->stop();
    StopButtonClick();
    windows_.chart->FormClose();
    windows_.configuration->close();
    windows_.channel->close();
    windows_.calibration->close();
    windows_.engineering->close();
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
    if (event->type() == QEvent::FocusOut && watched == ui->eInterval) {
        eIntervalExit();
    }
    return QWidget::eventFilter(watched, event);
}

void TForm1::bExitClick() {
    StopButtonClick();
    close();
}

namespace {

void ToggleVisible(QWidget* window) {
    window->setVisible(!window->isVisible());
}

} // namespace

void TForm1::bChart1Click() {
    ToggleVisible(windows_.chart);
}

void TForm1::bConfigClick() {
    ToggleVisible(windows_.configuration);
}

void TForm1::bENGClick() {
    ToggleVisible(windows_.engineering);
}

void TForm1::bAboutClick() {
    windows_.about->exec();
}

void TForm1::bCalibrateClick() {
    if (PcLogging()) {
        operator_.Notify(QStringLiteral("Please stop logging before calibration."));
        return;
    }
    if (windows_.calibration->isVisible()) {
        windows_.calibration->hide();
        return;
    }
    if (!ui->rbMilliVolt->isChecked()) {
        QString question;
        if (inputMode_ == 'T') {
            question = QStringLiteral("Switch to Millivolt?");
        } else if (inputMode_ == 'P') {
            question = QStringLiteral("Switch to Resistance?");
        }
        if (operator_.Ask(question)) {
            ui->rbMilliVolt->setChecked(true);
        }
    }
    windows_.calibration->show();
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
    windows_.channel->setWindowTitle(QStringLiteral("Channel %1 configuration").arg(channel));
    if (channel != selectedChannel_) {
        selectedChannel_ = channel;
        windows_.channel->SetSyncState(TfChannel::kChannelSwitched);
        frames_.SendPoll(static_cast<char>('0' + channel));
    }
    windows_.channel->show();
    windows_.channel->repaint();
}

void TForm1::ShowUnitText(const QString& text) {
    ui->lUnit->setText(text);
}

void TForm1::ShowCommsCaption(const QString& text) {
    ui->lComms->setText(text);
}

void TForm1::ShowCommsCount(int count) {
    ui->lComm_count->setText(QString::number(count));
}

void TForm1::ShowBccErrorCount(int count) {
    ui->lBCC_error->setText(QString::number(count));
}

void TForm1::ShowOnline(bool online) {
    ui->iOnline0->setVisible(!online);
    ui->iOnline1->setVisible(online);
}

void TForm1::ShowDiagnosticLine(const std::string& text) {
    // The line is narrower than most frames: its hint shows the whole of it.
    const QString line = FromWindows1252(text);
    ui->lTest->setText(line);
    ui->lTest->setToolTip(line);
}

void TForm1::ProcessMessages() {
    if (closed_) {
        // The program is ending: no reply will come, so no sender may go on waiting for one.
        frames_.SetCommsBusy(false);
        return;
    }
    // Sleeps until something happens; the timer, the port's hand-over and the operator's
    // input all post events, so the wait neither spins nor outlasts what it waits for.
    QCoreApplication::processEvents(QEventLoop::AllEvents | QEventLoop::WaitForMoreEvents);
}

std::string TForm1::FormatNow(const std::string& pattern) {
    return ToWindows1252(NowText(FromWindows1252(pattern)));
}

QString TForm1::NowText(const QString& pattern) {
    return FormatDateTime(pattern, ToLocalDateTime(clock_.Now()));
}

bool TForm1::CommsLogActive() {
    return windows_.engineering->CommsLogActive();
}

void TForm1::WriteCommsLogLine(const std::string& line) {
    windows_.engineering->WriteCommsLogLine(line);
}
