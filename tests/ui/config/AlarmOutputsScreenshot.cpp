// Grabs the configuration window from the screen with the alarm outputs table in all three sync
// colours, in the whole program on the built-in simulator: alarm-outputs-screenshot FILE.png
// The simulated V630 loses some replies, so a read leaves rows in step (lime) and rows not
// reported (red); one row is then loaded from a file (sky blue).
#include "ui/config/AlarmOutputsTable.h"
#include "ui/support/LivePanel.h"
#include "ui/support/ScreenPictures.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <set>

using namespace AlarmOutputs;

namespace {

std::set<Sync> Colours(const AlarmOutputsTable& table) {
    std::set<Sync> colours;
    for (int output = 1; output <= kOutputs; ++output) {
        colours.insert(table.Record(output).sync);
    }
    return colours;
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: alarm-outputs-screenshot FILE.png\n");
        return 2;
    }
    sim::ServerOptions options;
    options.faults.drop.probability = 0.3;
    LivePanel live(options, /*realTime=*/true);
    live.settings.Set("Control", "Left3", "20");
    live.settings.Set("Control", "Top3", "20");
    live.settings.Set("Control", "Visible3", "1");
    live.Start();
    QWidget* window = LivePanel::Window("Form3");
    const auto& table = *window->findChild<AlarmOutputsTable*>();
    ScreenPictures::WaitUntil([window] { return window->width() == 620; }, 20000);
    for (int attempt = 0; attempt < 5 && !Colours(table).count(Sync::NotInSync); ++attempt) {
        window->findChild<QPushButton*>("bRead")->click();
    }
    int inStep = 1;
    while (inStep < kOutputs && table.Record(inStep).sync != Sync::InSync) {
        ++inStep;
    }
    QFile file(QDir::current().filePath("outputs.txt"));
    if (file.open(QIODevice::WriteOnly)) {
        file.write(FileLine({inStep, kTypeHigh, 3, 60, 1, 1, 0}).c_str());
        file.close();
    }
    live.operatorAnswers.ChooseFile(file.fileName());
    window->findChild<QPushButton*>("bLoad")->click();

    const bool saved = ScreenPictures::Save(*window, QString::fromLocal8Bit(argv[1]));
    const bool allColours = Colours(table).count(Sync::InSync) &&
                            Colours(table).count(Sync::NotInSync) &&
                            Colours(table).count(Sync::Unknown);
    live.Form().close();
    return saved && allColours ? 0 : 1;
}
