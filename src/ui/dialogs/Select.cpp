#include "Select.h"

TfSelect::TfSelect(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fSelect"));
    setWindowTitle(QStringLiteral("Select"));
    setFixedSize(160, 175);
}
