#include "Enter.h"

TfEnter::TfEnter(QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("fEnter"));
    setWindowTitle(QStringLiteral("Enter"));
    setFixedSize(160, 150);
}
