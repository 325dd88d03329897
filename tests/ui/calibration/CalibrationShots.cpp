// Takes pictures of the calibration window driven through a calibration against the built-in
// simulator: at Zero with two channels selected, while sampling (a settled channel green, a
// moving one red) and at Ready.
//
//   calibration-shots OUTPUT_FOLDER
//
// Writes calibration-zero.png, calibration-sampling.png and calibration-ready.png there.

#include "LiveCalibration.h"
#include "ui/support/ScreenPictures.h"

#include <cstdio>

namespace {

bool Save(QWidget* window, const QString& folder, const char* name) {
    return ScreenPictures::Save(*window, QDir(folder).filePath(QString::fromLatin1(name)));
}

} // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: calibration-shots OUTPUT_FOLDER\n");
        return 2;
    }
    const QString output = QDir(QString::fromLocal8Bit(argv[1])).absolutePath();
    // The cold-junction column and the factory controls shown too.
    LiveCalibration c("96");
    LivePanel& live = *c.live;
    TfCalibrate* window = c.window;
    window->show();
    if (!c.Reported()) {
        std::fprintf(stderr, "the simulator did not report\n");
        return 1;
    }
    (void)c.SelectChannels1And2();
    bool saved = Save(window, output, "calibration-zero.png");

    live.operatorAnswers.AnswerYes(); // Switch to Millivolt?
    c.Click("bNext");
    // Channel 1 holds still and settles; channel 2 keeps moving.
    for (int step = 0; step < 16; ++step) {
        c.Connect(QStringLiteral("1=0.040mV\n2=%1mV\n").arg(step % 2 ? -0.02 : -0.01));
        QTest::qWait(1500);
    }
    saved = Save(window, output, "calibration-sampling.png") && saved;

    c.Connect(LiveCalibration::kZeroSignals);
    (void)QTest::qWaitFor([&] { return c.Text("l0mVx2").trimmed() == "-0.020"; }, 8000);
    c.Click("bNext");
    c.Connect(LiveCalibration::kSpanSignals);
    c.Click("bNext");
    (void)QTest::qWaitFor(
        [&] {
            return c.Text("l50mVx1").trimmed() == "20.100" &&
                   c.Text("l50mVx2").trimmed() == "19.950";
        },
        15000);
    c.Click("bNext");
    saved = Save(window, output, "calibration-ready.png") && saved;
    return saved ? 0 : 1;
}
