#include "Engineering.h"

TfRTC::TfRTC(const PanelContext& context, QWidget* parent)
    : QWidget(parent, Qt::Window), context_(context) {
    setObjectName(QStringLiteral("fRTC"));
    setWindowTitle(QStringLiteral("Engineering"));
}
