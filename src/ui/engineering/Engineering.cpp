#include "Engineering.h"

TfRTC::TfRTC(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("fRTC"));
    setWindowTitle(QStringLiteral("Engineering"));
}

void TfRTC::WriteCommsLogLine(const std::string&) {}

void TfRTC::ShowRegisters(const QStringList&) {}

void TfRTC::ShowFilterConstant(const QString&) {}

void TfRTC::ShowSixtyHertz(bool) {}
