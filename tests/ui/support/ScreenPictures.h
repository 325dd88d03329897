#pragma once

#include <QApplication>
#include <QElapsedTimer>
#include <QScreen>
#include <QWidget>
#include <cstdio>
#include <functional>

// What the picture-taking programs share: waiting in real time for what a picture must show,
// and saving a window as the screen shows it.
namespace ScreenPictures {

// Handles events until the condition holds or the time is up; true when it holds.
inline bool WaitUntil(const std::function<bool()>& condition, int milliseconds) {
    QElapsedTimer waited;
    waited.start();
    while (!condition()) {
        if (waited.elapsed() >= milliseconds) {
            return false;
        }
        QApplication::processEvents(QEventLoop::AllEvents, 50);
    }
    return true;
}

// The window raised, painted, and saved with a margin around it; prints the path it wrote.
inline bool Save(QWidget& window, const QString& path) {
    window.raise();
    WaitUntil([] { return false; }, 300); // for the X server to paint what changed
    const QPixmap shot = window.screen()->grabWindow(0, window.x() - 10, window.y() - 10,
                                                     window.width() + 20, window.height() + 20);
    if (!shot.save(path)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
        return false;
    }
    std::printf("%s\n", qPrintable(path));
    return true;
}

} // namespace ScreenPictures
