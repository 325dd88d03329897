#include "Calibration.h"

#include "instrument/Readings.h"
#include "instrument/SettleRule.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/DiagnosticLevel.h"
#include "ui/panel/KeyboardAccess.h"
#include "ui/panel/WindowPlacement.h"
#include "ui_Calibration.h"

#include <QAction>
#include <QCloseEvent>
#include <QMenu>
#include <QScopedValueRollback>
#include <QSignalBlocker>
#include <QTimer>

namespace {

// "Left5", "Top5", "Visible5".
constexpr int kWindowNumber = 5;
constexpr int kTimer5IntervalMs = 1800;
constexpr int kLastChannel = CalibrationMemory::kChannels - 1;

} // namespace

TfCalibrate::TfCalibrate(const PanelContext& context, QWidget* parent)
    : SecondaryForm(kWindowNumber, context.settings, context.operatorInteraction, parent,
                    Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                        Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                        Qt::WindowCloseButtonHint),
      ui(std::make_unique<Ui::TfCalibrate>()), context_(context) {
    ui->setupUi(this);
    setFixedSize(size());

    Timer5 = new QTimer(this);
    Timer5->setObjectName(QStringLiteral("Timer5"));
    Timer5->setInterval(kTimer5IntervalMs);
    connect(Timer5, &QTimer::timeout, this, &TfCalibrate::Timer5Timer);

    BuildPopupMenu();
    FormCreate();
    ConnectControls();
    ConnectKeyboard();
    // A status reply handled before this window existed found no window to restart.
    if (context_.state.InputMode) {
        Restart();
    }
}

TfCalibrate::~TfCalibrate() = default;

void TfCalibrate::FormCreate() {
    const bool shown = WindowPlacement::Restore(*this, context_.settings, kWindowNumber);
    references_ = ReferenceValues::Read(context_.settings);
    for (int channel = 0; channel <= kLastChannel; ++channel) {
        columns_[channel] = ChannelColumn::Create(this, channel);
    }
    const bool factory = context_.state.HasDiagnosticBit(DiagnosticBit::kCalibrationRecords);
    mNew1->setVisible(factory);
    mStore1->setVisible(factory);
    ui->bRecord->setVisible(factory);
    ui->bSave->setVisible(factory);
    if (shown) {
        show();
    }
}

void TfCalibrate::BuildPopupMenu() {
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    PopupMenu1->setToolTipsVisible(true);
    const auto item = [this](const char* name, const QString& caption, const QString& hint) {
        QAction* action = PopupMenu1->addAction(caption);
        action->setObjectName(QString::fromLatin1(name));
        action->setToolTip(hint);
        action->setStatusTip(hint);
        return action;
    };
    mNew1 = item("mNew1", QStringLiteral("New"), QStringLiteral("Generate New Serial"));
    mStore1 =
        item("mStore1", QStringLiteral("Store"), QStringLiteral("Store Serial to instrument"));
    mRetrieve1 = item("mRetrieve1", QStringLiteral("Retrieve"),
                      QStringLiteral("Retrieve Serial from instrument"));
}

void TfCalibrate::ConnectControls() {
    for (int channel = 0; channel <= kLastChannel; ++channel) {
        // Checking a box from the program runs the handler too.
        connect(columns_[channel].select, &QCheckBox::toggled, this,
                [this, channel] { cbCalClick(channel); });
    }
    connect(ui->cbAll, &QCheckBox::toggled, this, &TfCalibrate::cbAllClick);
    connect(ui->e_zero, &QLineEdit::textChanged, this, &TfCalibrate::e_zeroChange);
    connect(ui->e_span, &QLineEdit::textChanged, this, &TfCalibrate::e_spanChange);
    connect(ui->bNext, &QPushButton::clicked, this, &TfCalibrate::bNextClick);
    connect(ui->bReset, &QPushButton::clicked, this, &TfCalibrate::bResetClick);
    connect(ui->bRestart, &QPushButton::clicked, this, &TfCalibrate::Restart);
    connect(ui->bSend, &QPushButton::clicked, this, &TfCalibrate::bSendClick);
    connect(ui->bClose, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->bRemember, &QPushButton::clicked, this, &TfCalibrate::bRememberClick);
    connect(ui->bRecall, &QPushButton::clicked, this, &TfCalibrate::bRecallClick);
    connect(ui->bRecord, &QPushButton::clicked, this, &TfCalibrate::bRecordClick);
    connect(ui->bSave, &QPushButton::clicked, this, &TfCalibrate::bSaveClick);
    connect(ui->bRestore, &QPushButton::clicked, this, &TfCalibrate::bRestoreClick);
    connect(mNew1, &QAction::triggered, this, &TfCalibrate::mNew1Click);
    connect(mStore1, &QAction::triggered, this, &TfCalibrate::mStore1Click);
    connect(mRetrieve1, &QAction::triggered, this, &TfCalibrate::mRetrieve1Click);
    connect(ui->lSerial, &QLabel::customContextMenuRequested, this,
            [this](const QPoint& at) { PopupMenu1->popup(ui->lSerial->mapToGlobal(at)); });
}

// The serial number menu from the keyboard: Enter, Space, the menu key or Shift+F10 on the
// label. Tab goes from All along the Cal boxes beside it.
void TfCalibrate::ConnectKeyboard() {
    KeyboardAccess::MakePressable(*ui->lSerial, QStringLiteral("Serial number menu"), [this] {
        PopupMenu1->popup(ui->lSerial->mapToGlobal(ui->lSerial->rect().bottomLeft()));
    });
    KeyboardAccess::ContextMenuOnShiftF10(*ui->lSerial);
    QList<QWidget*> order{ui->cbAll};
    for (const ChannelColumn& column : columns_) {
        order.append(column.select);
    }
    order.append(ui->e_zero);
    KeyboardAccess::SetTabOrder(order);
}

void TfCalibrate::StoreOwnSettings() {
    references_.Write(context_.settings);
}

// bRestartClick: back to the zero stage with the references of the inputs in use.
void TfCalibrate::Restart() {
    if (locked_) {
        restartPending_ = true;
        return;
    }
    SetStage(Stage::Zero);
    SetSampling(false);
    ui->Memo1->clear();

    firstChannel_ = ResistanceInputs() ? 1 : 0;
    columns_[0].group->setVisible(
        !ResistanceInputs() &&
        context_.state.HasDiagnosticBit(DiagnosticBit::kMilliVoltRAndColdJunctionCalibration));
    AddLine(QStringLiteral("- Select channel to calibrate by checking Cal checkbox"));
    ShowReferences();
    AddLine(ConnectLine(ui->e_zero->text()));
    AddLine(QStringLiteral("- Click Next when ready"));
    ApplyReferenceEdit(true);
    ApplyReferenceEdit(false);
    for (ChannelColumn& column : columns_) {
        column.holdsNewScaling = false;
    }
    for (int channel = firstChannel_; channel <= kLastChannel; ++channel) {
        ChannelColumn& column = columns_[channel];
        SetBackground(column.zero, std::nullopt);
        SetBackground(column.span, std::nullopt);
        column.type->setText(ResistanceInputs() || channel == 0 ? QStringLiteral("PT100")
                                                                : QStringLiteral("-"));
        column.settleCountdown = SettleRule::kSettledTicks;
    }
}

void TfCalibrate::ApplyChannelReply(int channel, int typeCode, const QString& typeName,
                                    const QString& m, const QString& c) {
    if (channel < 0 || channel > kLastChannel || !Checked(channel)) {
        return;
    }
    ChannelColumn& column = columns_[channel];
    column.typeCode = typeCode;
    if (channel >= 1) {
        column.type->setText(typeName);
    }
    if (column.holdsNewScaling) {
        return;
    }
    column.m->setText(m);
    column.c->setText(c);
    SetBackground(column.m, ChannelColumn::kReceived);
    SetBackground(column.c, ChannelColumn::kReceived);
}

void TfCalibrate::ShowSerialNumber(const QString& serialNumber) {
    ui->eSerial->setText(serialNumber);
}

// The channel whose Cal box changed: a checked channel is polled so its column shows what the
// instrument holds; the cold junction is calibrated alone, with its own references.
void TfCalibrate::cbCalClick(int channel) {
    ChannelColumn& column = columns_[channel];
    if (column.select->isChecked()) {
        context_.exchange.Send(protocol::Question::Poll(protocol::Poll::Channel(channel)));
        if (channel == 0) {
            {
                // Clearing "All" here must not clear channel 0 with the rest.
                const QSignalBlocker blocker(ui->cbAll);
                ui->cbAll->setChecked(false);
            }
            for (int other = 1; other <= kLastChannel; ++other) {
                columns_[other].select->setChecked(false);
            }
        } else if (!ResistanceInputs()) {
            columns_[0].select->setChecked(false);
        }
        ShowReferences();
    } else {
        SetBackground(column.m, std::nullopt);
        SetBackground(column.c, std::nullopt);
    }
    UpdateTimer5();
}

void TfCalibrate::cbAllClick() {
    if (ui->cbAll->isChecked()) {
        columns_[0].select->setChecked(false);
        // The channel polls go out before the next reading poll.
        const QScopedValueRollback pollsFirst(context_.state.PollCountdown, 10);
        for (int channel = 1; channel <= kLastChannel; ++channel) {
            columns_[channel].select->setChecked(true);
        }
    } else {
        for (int channel = firstChannel_; channel <= kLastChannel; ++channel) {
            columns_[channel].select->setChecked(false);
        }
    }
}

void TfCalibrate::e_zeroChange() {
    ApplyReferenceEdit(true);
}

void TfCalibrate::e_spanChange() {
    ApplyReferenceEdit(false);
}

// The edited reference becomes the reference of the inputs in use and shows in their zero (or
// span) labels, the values the first sampling tick compares with.
void TfCalibrate::ApplyReferenceEdit(bool zero) {
    if (sampling_ && stage_ == (zero ? Stage::Zero : Stage::Span)) {
        return;
    }
    const QString text = zero ? ui->e_zero->text() : ui->e_span->text();
    const Inputs inputs = InputsInUse();
    references_.Point(inputs, zero) = text;
    // The cold junction is channel 0 alone, the thermocouple inputs are channels 1 to 8.
    const int first = inputs == Inputs::Resistance     ? firstChannel_
                      : inputs == Inputs::ColdJunction ? 0
                                                       : 1;
    const int last = inputs == Inputs::ColdJunction ? 0 : kLastChannel;
    for (int channel = first; channel <= last; ++channel) {
        (zero ? columns_[channel].zero : columns_[channel].span)->setText(text);
    }
}

TfCalibrate::Inputs TfCalibrate::InputsInUse() const {
    if (ResistanceInputs()) {
        return Inputs::Resistance;
    }
    return Checked(0) ? Inputs::ColdJunction : Inputs::Thermocouple;
}

QString TfCalibrate::ShownUnit() const {
    return InputsInUse() == Inputs::Thermocouple ? QStringLiteral("mV") : QStringLiteral("R");
}

void TfCalibrate::ShowReferences() {
    ui->lZero->setText(ShownUnit());
    ui->lSpan->setText(ShownUnit());
    // Copies: each edit's change handler writes the reference it shows back to its place.
    const Inputs inputs = InputsInUse();
    const QString zero = references_.Point(inputs, true);
    const QString span = references_.Point(inputs, false);
    ui->e_zero->setText(zero);
    ui->e_span->setText(span);
}

QString TfCalibrate::ConnectLine(const QString& reference) const {
    return QStringLiteral("- Connect ") + reference + ShownUnit() +
           (InputsInUse() == Inputs::ColdJunction
                ? QStringLiteral(" to the selected channel")
                : QStringLiteral(" to all the selected channels"));
}

void TfCalibrate::AddLine(const QString& line) {
    ui->Memo1->appendPlainText(line);
}

bool TfCalibrate::Confirm(const QString& hint) {
    return context_.operatorInteraction.Ask(hint + QLatin1Char('?'));
}

std::vector<int> TfCalibrate::ConfirmedChannels(const QString& hint) {
    std::vector<int> selected = CheckedChannels();
    if (selected.empty()) {
        context_.operatorInteraction.Notify(QStringLiteral("No channel selected"));
        return {};
    }
    if (!Confirm(hint)) {
        return {};
    }
    return selected;
}

bool TfCalibrate::ResistanceInputs() const {
    return context_.state.ResistanceInputs();
}

bool TfCalibrate::Checked(int channel) const {
    return columns_[channel].select->isChecked();
}

std::vector<int> TfCalibrate::CheckedChannels() const {
    std::vector<int> channels;
    for (int channel = firstChannel_; channel <= kLastChannel; ++channel) {
        if (Checked(channel)) {
            channels.push_back(channel);
        }
    }
    return channels;
}

char TfCalibrate::ReadingPoll() const {
    return *::ReadingPoll(ReadingKind::RawSignal, context_.state.InputMode);
}

// Timer5 runs while a channel is selected, so selected channels show live readings. A stage
// that loses its last channel stops sampling, and the main polling goes on.
void TfCalibrate::UpdateTimer5() {
    if (!CheckedChannels().empty()) {
        if (!Timer5->isActive()) {
            Timer5->start();
        }
        return;
    }
    Timer5->stop();
    if (sampling_) {
        SetSampling(false);
        AddLine(QStringLiteral("- Sampling stopped: no channel selected"));
        AddLine(QStringLiteral("- Click Next when ready"));
    }
}

TfCalibrate::ControlsLock::ControlsLock(TfCalibrate& window) : window_(window) {
    window_.SetControlsLocked(true);
}

TfCalibrate::ControlsLock::~ControlsLock() {
    window_.SetControlsLocked(false);
}

void TfCalibrate::SetControlsLocked(bool locked) {
    locked_ = locked;
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui->bSend, ui->bReset, ui->bRestart, ui->bNext, ui->cbAll, ui->bRemember, ui->bRecall,
             ui->bRecord, ui->bSave, ui->bRestore}) {
        control->setEnabled(!locked);
    }
    // The serial menu too: a request of its own would land between the "C" requests.
    for (QAction* item : {mNew1, mStore1, mRetrieve1}) {
        item->setEnabled(!locked);
    }
    for (ChannelColumn& column : columns_) {
        column.select->setEnabled(!locked);
    }
    if (!locked && restartPending_) {
        restartPending_ = false;
        Restart();
    }
}
