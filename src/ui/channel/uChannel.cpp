#include "uChannel.h"

#include "instrument/SensorTypes.h"
#include "protocol/RequestBuilders.h"
#include "ui/panel/LocaleText.h"
#include "ui/panel/WindowPlacement.h"
#include "ui/panel/Windows1252.h"
#include "ui_uChannel.h"

#include <QCloseEvent>
#include <QTimer>

namespace {

constexpr int kWindowNumber = 4;
const std::string kControl = "Control";
const std::string kChannelSetting = "Channel";
constexpr int kDefaultChannel = 1;

const QColor kInSync(0, 255, 0);
const QColor kNotInSync(255, 0, 0);
const QColor kNotKnown(166, 202, 240);

// A field from the instrument as the window shows its numbers: the locale's decimal separator
// when the field is a number, otherwise exactly as received.
QString ShownNumber(const QString& field) {
    return OperatorTextToFloat(field) ? WithLocalePoint(field) : field;
}

void Colour(QWidget& control, const QColor& colour) {
    QPalette palette = control.palette();
    if (palette.color(QPalette::Base) == colour) {
        return;
    }
    palette.setColor(QPalette::Base, colour);
    control.setPalette(palette);
    // The style shades a drop-down list's button; a plain fill shows the colour as it is.
    if (qobject_cast<QComboBox*>(&control) != nullptr) {
        control.setStyleSheet(
            QStringLiteral("QComboBox { background-color: %1; border: 1px solid gray; "
                           "border-radius: 2px; padding: 1px 4px; }")
                .arg(colour.name()));
    }
}

} // namespace

TfChannel::TfChannel(const PanelContext& context, QWidget* parent)
    : SecondaryForm(kWindowNumber, context.settings, context.operatorInteraction, parent),
      ui(std::make_unique<Ui::TfChannel>()), context_(context) {
    ui->setupUi(this);
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(size());
    connect(ui->bRefresh, &QPushButton::clicked, this, &TfChannel::bRefreshClick);
    connect(ui->bSend, &QPushButton::clicked, this, &TfChannel::bSendClick);
    connect(ui->bClose, &QPushButton::clicked, this, &TfChannel::bCloseClick);
    // Only the operator's own changes: the replies fill these controls too.
    connect(ui->cbTCType, &QComboBox::activated, this, &TfChannel::cbTCTypeChange);
    connect(ui->eCal_m, &QLineEdit::textEdited, this, &TfChannel::eCal_mChange);
    connect(ui->eCal_c, &QLineEdit::textEdited, this, &TfChannel::eCal_cChange);
    FormCreate();
}

TfChannel::~TfChannel() = default;

void TfChannel::FormCreate() {
    const bool shown = WindowPlacement::Restore(*this, context_.settings, kWindowNumber);
    const int channel = ReadInteger(context_.settings, kControl, kChannelSetting, kDefaultChannel);
    // A stored number that names no channel would become a garbled poll.
    context_.state.SelectedChannel =
        channel >= 0 && channel < kChannels ? channel : kDefaultChannel;
    SetSensorType();
    ShowSyncColour();
    if (shown) {
        show();
    }
}

void TfChannel::StoreOwnSettings() {
    WriteInteger(context_.settings, kControl, kChannelSetting, context_.state.SelectedChannel);
}

void TfChannel::bCloseClick() {
    close();
}

void TfChannel::ShowChannelCaption(int channel) {
    setWindowTitle(QStringLiteral("Channel %1 configuration").arg(channel));
}

void TfChannel::MarkChannelSwitched() {
    ShowChannel(context_.state.SelectedChannel);
    syncState_ = SyncState::Switched;
    edited_ = false;
    ShowSyncColour();
}

void TfChannel::ShowChannel(int channel) {
    if (channel == shownChannel_) {
        return;
    }
    ui->lChannel->setText(QString::number(channel));
    const bool listChanges = (channel == 0) != (shownChannel_ == 0);
    shownChannel_ = channel;
    // What the controls show belongs to the channel shown before: not known for this one.
    syncState_ = SyncState::Unknown;
    filled_ = false;
    if (listChanges) {
        SetSensorType();
    }
}

void TfChannel::SetSensorType() {
    const QStringList types =
        FromWindows1252(SensorTypeNames(context_.state.InputMode, shownChannel_));
    QStringList present;
    for (int index = 0; index < ui->cbTCType->count(); ++index) {
        present.append(ui->cbTCType->itemText(index));
    }
    // The same list keeps the type shown; another list names other sensors.
    if (present != types) {
        ui->cbTCType->clear();
        ui->cbTCType->addItems(types);
        ui->cbTCType->setCurrentIndex(-1);
    }
}

void TfChannel::ApplyChannelReply(int channel, int typeCode, const QString& m, const QString& c) {
    if (channel != shownChannel_) {
        return;
    }
    ui->cbTCType->setCurrentIndex(typeCode >= 0 && typeCode < ui->cbTCType->count() ? typeCode
                                                                                    : -1);
    ui->eCal_m->setText(ShownNumber(m));
    ui->eCal_c->setText(ShownNumber(c));
    syncState_ = SyncState::InSync;
    edited_ = false;
    filled_ = true;
    if (unansweredPoll_ && unansweredPoll_->channel == channel) {
        unansweredPoll_.reset();
    }
    Repaint();
}

QColor TfChannel::SyncColour() const {
    if (edited_) {
        return kNotKnown;
    }
    if (refreshesStarting_[shownChannel_] > 0 ||
        (unansweredPoll_ && unansweredPoll_->channel == shownChannel_)) {
        return kNotInSync;
    }
    switch (syncState_) {
    case SyncState::InSync:
        return kInSync;
    case SyncState::Sent:
        return kNotInSync;
    case SyncState::Unknown:
    case SyncState::Switched:
        break;
    }
    return kNotKnown;
}

void TfChannel::ShowSyncColour() {
    const QColor colour = SyncColour();
    Colour(*ui->eCal_m, colour);
    Colour(*ui->eCal_c, colour);
    Colour(*ui->cbTCType, colour);
}

void TfChannel::MarkEdited() {
    edited_ = true;
    ShowSyncColour();
}

void TfChannel::cbTCTypeChange() {
    MarkEdited();
}

void TfChannel::eCal_mChange() {
    MarkEdited();
}

void TfChannel::eCal_cChange() {
    MarkEdited();
}

void TfChannel::Repaint() {
    if (isVisible()) {
        FormPaint();
    } else {
        ShowSyncColour();
    }
    update();
}

void TfChannel::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    FormPaint();
}

void TfChannel::FormPaint() {
    const int channel = context_.state.SelectedChannel;
    ShowChannel(channel);
    ShowSyncColour();
    if (SetUpReported() || context_.state.Closing || RefreshOutstanding(channel)) {
        return;
    }
    // Polled after the paint, never inside it: the poll's wait handles window messages.
    ++refreshesStarting_[channel];
    QTimer::singleShot(0, this, [this, channel] { RefreshAfterPaint(channel); });
}

bool TfChannel::SetUpReported() const {
    return syncState_ == SyncState::InSync || syncState_ == SyncState::Sent;
}

bool TfChannel::RefreshOutstanding(int channel) const {
    if (refreshesStarting_[channel] > 0) {
        return true;
    }
    protocol::FrameLayer& frames = context_.exchange.Frames();
    return unansweredPoll_ && unansweredPoll_->channel == channel && frames.CommsBusy() &&
           frames.TransmittedFrameCount() == unansweredPoll_->frame;
}

void TfChannel::RefreshAfterPaint(int channel) {
    // A poll of the channel already on the line (the main window's, when it switched this
    // window) may bring the set-up meanwhile; then there is nothing left to ask.
    context_.exchange.WaitForIdle();
    --refreshesStarting_[channel];
    if (!SetUpReported() && !context_.state.Closing && channel == context_.state.SelectedChannel) {
        bRefreshClick();
    }
}

void TfChannel::bRefreshClick() {
    const int channel = context_.state.SelectedChannel;
    ShowChannel(channel);
    edited_ = false;
    ++refreshesStarting_[channel];
    ShowSyncColour();
    context_.exchange.Send(protocol::Question::Poll(protocol::Poll::Channel(channel)));
    --refreshesStarting_[channel];
    NotePollSent(channel);
}

void TfChannel::NotePollSent(int channel) {
    unansweredPoll_ = SentPoll{channel, context_.exchange.Frames().TransmittedFrameCount()};
}
