#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>

QPoint CentredOnScreen(const QSize& windowSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen != nullptr ? screen->geometry().size() : QSize(1024, 768);
    return {(screenSize.width() - windowSize.width()) / 2,
            (screenSize.height() - windowSize.height()) / 2};
}
