#include "uChannel.h"

TfChannel::TfChannel(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("fChannel"));
    setWindowTitle(QStringLiteral("Channel configuration"));
    SetSensorType('T');
}

void TfChannel::SetSensorType(char inputMode) {
    if (inputMode == 'P') {
        sensorTypes_ = {QStringLiteral("PT100")};
    } else {
        sensorTypes_ = {"J", "K", "T", "E", "N", "R", "S", "B"};
    }
}

QString TfChannel::SensorTypeName(int code) const {
    return sensorTypes_.value(code);
}

void TfChannel::ApplyChannelReply(int, int, const QString&, const QString&) {}
