#include "Calibration.h"

TfCalibrate::TfCalibrate(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("fCalibrate"));
    setWindowTitle(QStringLiteral("Calibration"));
}

void TfCalibrate::bRestartClick() {}

void TfCalibrate::ApplyChannelReply(int, int, const QString&, const QString&, const QString&) {}

void TfCalibrate::ShowSerialNumber(const QString&) {}
