#pragma once

#include "ui/calibration/Calibration.h"
#include "ui/support/WindowHarness.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTimer>
#include <map>
#include <memory>

// The calibration window alone on the window harness, with a fake instrument that answers the
// reading poll with `readings`, each channel poll with its entry of `channelReplies` and
// everything else with an acknowledge.
struct CalibrationBench {
    explicit CalibrationBench(int diagnosticLevel = 0) {
        h.state.DiagnosticLevel = diagnosticLevel;
        h.mainWindow.milliVolt = true;
        for (int channel = 1; channel <= 8; ++channel) {
            channelReplies[channel] = std::to_string(channel) + "01  1.0000  0.0000";
        }
        h.AnswerPolls([this](char letter) -> std::optional<std::string> {
            if (letter == 'M' && answerReadings) {
                std::string fields;
                for (const std::string& reading : readings) {
                    fields += Replies::Field(reading);
                }
                return Replies::Readings('M', fields);
            }
            if (letter >= '0' && letter <= '8' && channelReplies.count(letter - '0') != 0) {
                return Replies::Framed(channelReplies[letter - '0']);
            }
            if (letter == 'Z') {
                return Replies::Framed("Z20190919133931\r");
            }
            return Replies::kAcknowledge;
        });
    }

    TfCalibrate& Build() {
        window = std::make_unique<TfCalibrate>(h.context);
        h.windows.calibration = window.get();
        return *window;
    }
    void Status(const std::string& flag = "00") { h.port.Receive(Replies::Status("V630", flag)); }

    template <typename T = QLabel> T* Find(const QString& name) {
        return window->findChild<T*>(name);
    }
    QString Text(const QString& name) { return Find(name)->text(); }
    QCheckBox* Box(int channel) { return Find<QCheckBox>(QStringLiteral("cbCalx%1").arg(channel)); }
    // Checks a channel and lets its column take the instrument's answer.
    void Check(int channel) {
        Box(channel)->setChecked(true);
        h.pump.ProcessPending();
    }
    void Click(const QString& button) { Find<QPushButton>(button)->click(); }
    bool Sampling() { return Find<QRadioButton>("rbSampling")->isChecked(); }
    bool InStage(const char* item) { return Find<QRadioButton>(item)->isChecked(); }
    bool Timer5Active() { return window->findChild<QTimer*>("Timer5")->isActive(); }
    QStringList MemoLines() {
        return Find<QPlainTextEdit>("Memo1")->toPlainText().split(QLatin1Char('\n'));
    }
    // Sampling ticks, each followed by the instrument's answer.
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            window->Timer5Timer();
            h.pump.ProcessPending();
        }
    }
    // The payloads of the request frames sent since the last look, and the poll letters.
    std::vector<std::string> SentRequests() {
        std::vector<std::string> payloads;
        for (const std::string& frame : h.Sent()) {
            if (frame.size() >= 4 && frame[1] == '\x02') {
                payloads.push_back(frame.substr(2, frame.size() - 4));
            } else if (frame.size() == 3) {
                payloads.push_back("poll " + frame.substr(1, 1));
            }
        }
        return payloads;
    }

    WindowHarness h;
    std::unique_ptr<TfCalibrate> window;
    std::array<std::string, 9> readings{"25.00", "0.000", "0.000", "0.000", "0.000",
                                        "0.000", "0.000", "0.000", "0.000"};
    std::map<int, std::string> channelReplies;
    bool answerReadings = true;
};
