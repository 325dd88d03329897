#include "OkCancelDialog.h"

#include <QKeyEvent>
#include <QPushButton>

namespace {

constexpr int kGapToPointer = 10;

} // namespace

OkCancelDialog::OkCancelDialog(QWidget* parent, bool& result) : QDialog(parent), result_(result) {}

void OkCancelDialog::ConnectControls(QPushButton& ok, QPushButton& cancel) {
    setFixedSize(size());
    connect(&ok, &QPushButton::clicked, this, &OkCancelDialog::bOKClick);
    connect(&cancel, &QPushButton::clicked, this, &OkCancelDialog::bCancelClick);
    // The keys reach the dialog before the control that has the focus.
    installEventFilter(this);
    for (QWidget* control : findChildren<QWidget*>()) {
        control->installEventFilter(this);
    }
}

bool OkCancelDialog::ShowAbovePointer(const QPoint& pointer) {
    result_ = false;
    move(pointer.x() - width() - kGapToPointer, pointer.y() - height() - kGapToPointer);
    exec();
    return result_;
}

bool OkCancelDialog::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Escape:
            bCancelClick();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            bOKClick();
            return true;
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, event);
}

void OkCancelDialog::bOKClick() {
    result_ = true;
    accept();
}

void OkCancelDialog::bCancelClick() {
    result_ = false;
    reject();
}
