#include "uChart.h"

TForm2::TForm2(SettingsStore&, OperatorInteraction&, const ReadingHistory&,
               std::function<QString()>, int pollCountdownSeconds, Clock&, QWidget* parent)
    : QWidget(parent, Qt::Window), samplingPeriod_(pollCountdownSeconds * 1000) {
    setObjectName(QStringLiteral("Form2"));
    setWindowTitle(QStringLiteral("Real Time Chart"));
}
