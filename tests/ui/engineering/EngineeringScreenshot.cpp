// Grabs the engineering window from the screen after a register read, in the whole program on
// the built-in simulator: engineering-screenshot FILE.png
#include "ui/engineering/LiveEngineering.h"
#include "ui/support/ScreenPictures.h"

#include <QPushButton>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: engineering-screenshot FILE.png\n");
        return 2;
    }
    LivePanel live(sim::ServerOptions{}, /*realTime=*/true);
    live.settings.Set("Control", "Diagnostic Level", "2");
    live.settings.Set("Control", "Left6", "20");
    live.settings.Set("Control", "Top6", "20");
    live.settings.Set("Control", "Visible6", "1");
    live.Start();
    TfRTC* window = LivePanel::Window<TfRTC>("fRTC");
    live.operatorAnswers.AnswerYes();
    window->findChild<QPushButton*>("bRefresh")->click();
    const bool read =
        ScreenPictures::WaitUntil([window] { return AllRegistersRead(*window); }, 20000);
    const bool saved = ScreenPictures::Save(*window, QString::fromLocal8Bit(argv[1]));
    live.Form().close();
    return saved && read ? 0 : 1;
}
