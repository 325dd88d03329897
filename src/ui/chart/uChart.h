#pragma once

#include "serial/Clock.h"
#include "serial/SettingsStore.h"
#include "ui/main/OperatorInteraction.h"
#include "ui/main/ReadingHistory.h"

#include <QWidget>
#include <functional>

// Stand-in for the real-time chart window until it lands: hidden, with the calls the main
// window makes.
class TForm2 : public QWidget {
    Q_OBJECT

public:
    TForm2(SettingsStore& settings, OperatorInteraction& operatorInteraction,
           const ReadingHistory& history, std::function<QString()> modelName,
           int pollCountdownSeconds, Clock& clock, QWidget* parent = nullptr);

    void SetSamplingPeriod(int milliseconds) { samplingPeriod_ = milliseconds; }
    int SamplingPeriod() const { return samplingPeriod_; }
    void FormClose() { hide(); }

private:
    int samplingPeriod_;
};
