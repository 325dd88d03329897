#pragma once

#include "ui/panel/PanelWindows.h"

#include <QStringList>
#include <array>
#include <deque>
#include <vector>

// Stand-ins for the windows a window under test reaches through the panel's interfaces; each
// records what was done to it.

class FakeMainWindow final : public MainWindow, public MainDisplay {
public:
    void PausePolling() override { ++pauses; }
    void ResumePolling() override { --pauses; }
    QString ChannelDisplayText(int channel) const override { return displays[channel]; }
    bool MilliVoltSelected() const override { return milliVolt; }
    void SelectMilliVolt() override { milliVolt = true; }
    QString ClockText() const override { return clock; }
    void ShowUnitText(const QString& text) override { unit = text; }
    void ShowCommsCaption(const QString& text) override { commsCaption = text; }
    void ShowConnecting() override { caption = QStringLiteral("Control Panel - connecting"); }
    void ShowDisconnected() override { caption = QStringLiteral("Control Panel - disconnected"); }
    void ShowDiagnosticLine(const QString& text) override { diagnosticLine = text; }

    void ShowCommsCount(int count) override { commsCount = count; }
    void ShowBccErrorCount(int count) override { bccErrors = count; }
    void ShowOnline(bool on) override { online = on; }
    bool PcLogging() override { return false; }
    void SetNewReading() override {}
    void ShowUnit(const QString& text) override { unit = text; }
    void ShowReading(int channel, const QString& text) override { displays[channel] = text; }
    void ShowOutputStates(unsigned states) override { outputStates = states; }
    void AdaptToStatus(const QString& text) override { caption = text; }
    void ShowBrokerState(const QString&) override {}

    int pauses = 0;
    std::array<QString, 9> displays{"-------", "-------", "-------", "-------", "-------",
                                    "-------", "-------", "-------", "-------"};
    bool milliVolt = false;
    QString clock = QStringLiteral("07/12/26 10:05:02");
    QString unit;
    QString commsCaption;
    QString caption;
    QString diagnosticLine;
    int commsCount = 0;
    int bccErrors = 0;
    bool online = false;
    unsigned outputStates = 0;
};

// What every secondary window stand-in records.
template <typename Interface> class FakeSecondaryWindow : public Interface {
public:
    bool IsShown() const override { return shown; }
    void SetShown(bool on) override { shown = on; }
    void CloseWindow() override {
        ++closes;
        shown = false;
    }
    bool shown = false;
    int closes = 0;
};

class FakeChartWindow final : public FakeSecondaryWindow<ChartWindow> {
public:
    void SetSamplingPeriod(int milliseconds) override { samplingPeriod = milliseconds; }
    int samplingPeriod = 0;
};

class FakeConfigurationWindow final : public FakeSecondaryWindow<ConfigurationWindow> {
public:
    void ApplyStatus(const protocol::InstrumentStatus& applied) override { status = applied; }
    void ShowModelLayout(int shownWidth, bool shownZeroLog) override {
        width = shownWidth;
        zeroLogShown = shownZeroLog;
    }
    void ShowAlarmOutput(const protocol::AlarmOutputSetting& output) override {
        outputs.push_back(output);
    }
    void ReselectPort() override { ++reselections; }
    void DeviceGone() override {}
    void DeviceBack() override {}

    protocol::InstrumentStatus status;
    int width = 230;
    bool zeroLogShown = false;
    std::vector<protocol::AlarmOutputSetting> outputs;
    int reselections = 0;
};

class FakeChannelWindow final : public FakeSecondaryWindow<ChannelWindow> {
public:
    void ShowChannelCaption(int channel) override { caption = channel; }
    void MarkChannelSwitched() override { switched = true; }
    void Repaint() override { ++repaints; }
    void SetSensorType() override { ++sensorTypeRebuilds; }
    void ApplyChannelReply(int channel, int typeCode, const QString& m, const QString& c) override {
        replies.append(QStringLiteral("%1 %2 %3 %4").arg(channel).arg(typeCode).arg(m, c));
    }
    int caption = -1;
    bool switched = false;
    int repaints = 0;
    int sensorTypeRebuilds = 0;
    QStringList replies;
};

class FakeCalibrationWindow final : public FakeSecondaryWindow<CalibrationWindow> {
public:
    void Restart() override { ++restarts; }
    void ApplyChannelReply(int channel, int typeCode, const QString& typeName, const QString& m,
                           const QString& c) override {
        replies.append(
            QStringLiteral("%1 %2 %3 %4 %5").arg(channel).arg(typeCode).arg(typeName, m, c));
    }
    void ShowSerialNumber(const QString& serial) override { serialNumber = serial; }
    int restarts = 0;
    QStringList replies;
    QString serialNumber;
};

class FakeEngineeringWindow final : public FakeSecondaryWindow<EngineeringWindow> {
public:
    bool CommsLogActive() override { return logging; }
    void WriteCommsLogLine(const std::string& line) override { logLines.push_back(line); }
    void ShowRegisters(const QStringList& shown) override { registers = shown; }
    void ShowFilterConstant(const QString& constant, std::optional<bool> sixtyHertz) override {
        filterConstant = constant;
        mains = sixtyHertz;
    }
    bool logging = false;
    std::vector<std::string> logLines;
    QStringList registers;
    QString filterConstant;
    std::optional<bool> mains;
};

class FakeAboutBox final : public AboutBox {
public:
    void ShowModal() override { ++showings; }
    int showings = 0;
};

// The pick and enter dialogs: each showing is recorded and answered from a script; with no
// answer left, the showing ends as Cancel would.
template <typename Answer> struct ScriptedDialog {
    std::optional<Answer> Next() {
        if (answers.empty()) {
            return std::nullopt;
        }
        std::optional<Answer> answer = answers.front();
        answers.pop_front();
        return answer;
    }
    std::deque<std::optional<Answer>> answers;
};

class FakeItemSelection final : public ItemSelection {
public:
    std::optional<int> SelectItem(const QString& legend, const QStringList& items, int selected,
                                  const QPoint& pointer) override {
        showings.push_back({legend, items, selected, pointer});
        return script.Next();
    }
    struct Showing {
        QString legend;
        QStringList items;
        int selected;
        QPoint pointer;
    };
    std::vector<Showing> showings;
    ScriptedDialog<int> script;
};

class FakeValueEntry final : public ValueEntry {
public:
    std::optional<QString> EnterValue(const QString& legend, const QString& value,
                                      const QPoint& pointer) override {
        showings.push_back({legend, value, pointer});
        return script.Next();
    }
    struct Showing {
        QString legend;
        QString value;
        QPoint pointer;
    };
    std::vector<Showing> showings;
    ScriptedDialog<QString> script;
};
