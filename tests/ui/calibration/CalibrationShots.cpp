// Takes pictures of the calibration window driven through a calibration against the built-in
// simulator: at Zero with two channels selected, while sampling (a settled channel green, a
// moving one red) and at Ready.
//
//   calibration-shots OUTPUT_FOLDER
//
// Writes calibration-zero.png, calibration-sampling.png and calibration-ready.png there.

#include "ui/calibration/Calibration.h"
#include "ui/support/LivePanel.h"
#include "ui/support/ScreenPictures.h"

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <cstdio>

namespace {

void Connect(const QString& controlFile, const QString& inputs) {
    QFile file(controlFile);
    if (file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        file.write(inputs.toLatin1());
    }
}

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
    QTemporaryDir scratch;
    QDir::setCurrent(scratch.path());
    const QString control = scratch.filePath("calibrator.txt");
    Connect(control, "1=0.040mV\n2=-0.020mV\n");

    sim::ServerOptions options;
    options.control_path = control.toStdString();
    LivePanel live(options, /*realTime=*/true);
    // The cold-junction column and the factory controls shown too.
    live.settings.Set("Control", "Diagnostic Level", "96");
    live.Start();
    auto* window = LivePanel::Window<TfCalibrate>("fCalibrate");
    const auto label = [window](const char* name) {
        return window->findChild<QLabel*>(QString::fromLatin1(name))->text();
    };
    const auto click = [window](const char* name) {
        window->findChild<QPushButton*>(QString::fromLatin1(name))->click();
    };
    window->show();
    if (!QTest::qWaitFor([&] { return live.panel->State().InputMode.has_value(); }, 10000)) {
        std::fprintf(stderr, "the simulator did not report\n");
        return 1;
    }
    window->findChild<QCheckBox*>("cbCalx1")->setChecked(true);
    window->findChild<QCheckBox*>("cbCalx2")->setChecked(true);
    (void)QTest::qWaitFor([&] { return label("lTypex2") == "K"; }, 5000);
    bool saved = Save(window, output, "calibration-zero.png");

    live.operatorAnswers.AnswerYes(); // Switch to Millivolt?
    click("bNext");
    // Channel 1 holds still and settles; channel 2 keeps moving.
    for (int step = 0; step < 16; ++step) {
        Connect(control, QStringLiteral("1=0.040mV\n2=%1mV\n").arg(step % 2 ? -0.02 : -0.01));
        QTest::qWait(1500);
    }
    saved = Save(window, output, "calibration-sampling.png") && saved;

    Connect(control, "1=0.040mV\n2=-0.020mV\n");
    (void)QTest::qWaitFor([&] { return label("l0mVx2").trimmed() == "-0.020"; }, 8000);
    click("bNext");
    Connect(control, "1=20.100mV\n2=19.950mV\n");
    click("bNext");
    (void)QTest::qWaitFor(
        [&] {
            return label("l50mVx1").trimmed() == "20.100" && label("l50mVx2").trimmed() == "19.950";
        },
        15000);
    click("bNext");
    saved = Save(window, output, "calibration-ready.png") && saved;
    return saved ? 0 : 1;
}
