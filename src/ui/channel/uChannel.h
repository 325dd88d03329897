#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

// The channel configuration window. For now it carries what the main window calls: its
// caption, its sync state, the sensor type list and the channel reply.
class TfChannel : public QWidget {
    Q_OBJECT

public:
    // Sync states: 1 the window shows what the instrument reported, 3 the main window has just
    // switched it to another channel.
    static constexpr int kInSync = 1;
    static constexpr int kChannelSwitched = 3;

    explicit TfChannel(QWidget* parent = nullptr);

    int SyncState() const { return syncState_; }
    void SetSyncState(int state) { syncState_ = state; }

    // Rebuilds the sensor type list for the input mode ('P' resistance, else thermocouple).
    void SetSensorType(char inputMode);
    // The name at that sensor type code of the list, empty outside it.
    QString SensorTypeName(int code) const;

    void ApplyChannelReply(int channel, int typeCode, const QString& m, const QString& c);

private:
    int syncState_ = 0;
    QStringList sensorTypes_;
};
