#pragma once

#include "ui/panel/PanelContext.h"
#include "ui/panel/SecondaryForm.h"

#include <QColor>
#include <QWidget>
#include <array>
#include <cstdint>
#include <memory>
#include <optional>

class QCloseEvent;
class QLineEdit;
class QPaintEvent;
struct ScalingLimit;

namespace Ui {
class TfChannel;
}

// The channel configuration window: the sensor type and the linear scaling y = m x + c of the
// channel in SelectedChannel. It polls the channel for its set-up, checks m and c against
// their limits and sends them with the "C" request. The colour of its three input controls
// tells whether they agree with the instrument: green in step, red while a request or poll is
// unanswered, sky blue when edited or not yet known. It lives for the whole run; closing it
// stores its settings and hides it.
class TfChannel : public SecondaryForm<ChannelWindow> {
    Q_OBJECT

public:
    explicit TfChannel(const PanelContext& context, QWidget* parent = nullptr);
    ~TfChannel() override;

    // ChannelWindow
    void ShowChannelCaption(int channel) override;
    void MarkChannelSwitched() override;
    void Repaint() override;
    void SetSensorType() override;
    void ApplyChannelReply(int channel, int typeCode, const QString& m, const QString& c) override;

public slots:
    // Polls the channel in SelectedChannel; its reply brings the controls into step.
    void bRefreshClick();
    // Checks m, c and the sensor type, sends the "C" request, then refreshes.
    void bSendClick();
    void bCloseClick();
    void cbTCTypeChange();
    void eCal_mChange();
    void eCal_cChange();

protected:
    void paintEvent(QPaintEvent* event) override;
    // "Channel", beside the window's place.
    void StoreOwnSettings() override;

private:
    enum class SyncState { Unknown = 0, InSync = 1, Sent = 2, Switched = 3 };
    static constexpr int kChannels = 9;

    void FormCreate();
    // lChannel, the colours, and a refresh after the paint while the set-up is not known.
    void FormPaint();
    // lChannel shows the channel, whose set-up is then not known yet; the sensor type list
    // follows it between 0 and 1 to 8.
    void ShowChannel(int channel);
    QColor SyncColour() const;
    void ShowSyncColour();
    void MarkEdited();
    // The instrument's set-up of the shown channel is in the controls, or has just been sent.
    bool SetUpReported() const;
    // A refresh of the channel scheduled or under way, or its poll still holding the link.
    bool RefreshOutstanding(int channel) const;
    void RefreshAfterPaint(int channel);
    // The poll of that channel is on the line: the controls stay red until its reply.
    void NotePollSent(int channel);
    // The value of m or c, limited with the operator's consent, as its field's text, and shown
    // so in its edit; nothing, with the reason reported, when it does not fit the field.
    std::optional<std::string> CheckedScaling(QLineEdit& edit, const QString& name, double value,
                                              const ScalingLimit& limit);

    std::unique_ptr<Ui::TfChannel> ui;
    PanelContext context_;
    SyncState syncState_ = SyncState::Unknown;
    // The channel lChannel shows: its design text until the first paint.
    int shownChannel_ = 8;
    bool edited_ = false;
    // Whether a reply of the shown channel has filled the controls since it was shown: until
    // then they hold another channel's set-up, or the design texts.
    bool filled_ = false;
    // Per channel: refreshes scheduled after a paint or inside their poll's wait for the link.
    std::array<int, kChannels> refreshesStarting_{};
    // The last refresh poll sent, until the reply for its channel comes.
    struct SentPoll {
        int channel;
        std::uint64_t frame;
    };
    std::optional<SentPoll> unansweredPoll_;
};
