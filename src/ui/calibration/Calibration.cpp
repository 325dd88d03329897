#include "Calibration.h"

TfCalibrate::TfCalibrate(const PanelContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setObjectName(QStringLiteral("fCalibrate"));
    setWindowTitle(QStringLiteral("Calibration"));
}
