#pragma once

#include <QString>
#include <QWidget>

// The calibration window. For now it carries what the main window calls: the restart after a
// status reply, the channel reply and the serial number reply.
class TfCalibrate : public QWidget {
    Q_OBJECT

public:
    explicit TfCalibrate(QWidget* parent = nullptr);

    void bRestartClick();
    void ApplyChannelReply(int channel, int typeCode, const QString& typeName, const QString& m,
                           const QString& c);
    void ShowSerialNumber(const QString& serialNumber);
};
