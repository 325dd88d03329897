#include "WindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace {

const std::string kControl = "Control";

std::string Name(const char* stem, int number) {
    return stem + std::to_string(number);
}

} // namespace

QPoint CentredOnScreen(const QSize& windowSize) {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize screenSize = screen != nullptr ? screen->geometry().size() : QSize(1024, 768);
    return {(screenSize.width() - windowSize.width()) / 2,
            (screenSize.height() - windowSize.height()) / 2};
}

bool WindowPlacement::Restore(QWidget& window, SettingsStore& settings, int number) {
    const QPoint centred = CentredOnScreen(window.size());
    window.move(ReadInteger(settings, kControl, Name("Left", number), centred.x()),
                ReadInteger(settings, kControl, Name("Top", number), centred.y()));
    return ReadInteger(settings, kControl, Name("Visible", number), 0) > 0;
}

void WindowPlacement::Store(const QWidget& window, SettingsStore& settings, int number) {
    WriteInteger(settings, kControl, Name("Left", number), window.pos().x());
    WriteInteger(settings, kControl, Name("Top", number), window.pos().y());
    WriteInteger(settings, kControl, Name("Visible", number), window.isVisible() ? 1 : 0);
}
