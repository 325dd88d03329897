#include "DialogKeys.h"

#include <QDialog>
#include <QKeyEvent>

DialogKeys::DialogKeys(QDialog& dialog, std::function<void()> ok, std::function<void()> cancel)
    : QObject(&dialog), ok_(std::move(ok)), cancel_(std::move(cancel)) {
    dialog.installEventFilter(this);
    for (QWidget* control : dialog.findChildren<QWidget*>()) {
        control->installEventFilter(this);
    }
}

bool DialogKeys::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        switch (static_cast<QKeyEvent*>(event)->key()) {
        case Qt::Key_Escape:
            cancel_();
            return true;
        case Qt::Key_Return:
        case Qt::Key_Enter:
            ok_();
            return true;
        default:
            break;
        }
    }
    return QObject::eventFilter(watched, event);
}
