#pragma once

#include "FakeInstrumentPort.h"
#include "app/ControlPanel.h"
#include "serial/SettingsStore.h"
#include "support/ManualClock.h"
#include "support/ScriptedOperator.h"

#include <QLabel>
#include <QString>
#include <QTimer>
#include <memory>
#include <string>

// Instrument replies as they arrive on the line.
namespace Replies {

// STX payload ETX BCC.
inline std::string Framed(const std::string& payload) {
    char bcc = 0x03;
    for (const char c : payload) {
        bcc = static_cast<char>(bcc ^ c);
    }
    return "\x02" + payload + "\x03" + std::string(1, bcc);
}

// A status reply: the clock 07/12/26 10:05:02, the flag, autoscan 2, 512 records, interval 60.
inline std::string Status(const std::string& model, const std::string& flag = "00",
                          const std::string& version = "2.8") {
    return Framed("S261207100502" + flag +
                  "02"
                  "0200"
                  "003C" +
                  model + " " + version + " 10/11/18");
}

// Eight-character fields from a number; channel 0 first.
inline std::string Field(const std::string& text) {
    return std::string(8 - std::min<std::size_t>(text.size(), 8), ' ') + text.substr(0, 8);
}

inline std::string Readings(char letter, const std::string& fields, const std::string& unit = "") {
    return Framed(std::string(1, letter) + fields + unit);
}

} // namespace Replies

// The program's windows over a fake port, a memory settings store, a scripted operator and a
// clock that only moves when told.
struct PanelHarness {
    MemorySettingsStore settings;
    ScriptedOperator operatorAnswers;
    ManualClock clock;
    FakeInstrumentPort port;
    std::unique_ptr<ControlPanel> panel;

    // Builds the windows; the test then runs the polling timer's ticks itself (Tick) unless
    // it asks for the real timer.
    TForm1& Start(bool realTimer = false) {
        panel.reset();
        panel = std::make_unique<ControlPanel>(port, settings, operatorAnswers, clock);
        if (!realTimer) {
            panel->form1.findChild<QTimer*>("Timer1")->stop();
        }
        return panel->form1;
    }
    TForm1& Form() { return panel->form1; }

    // Lets the tick of the polling timer run now, a second later than the last.
    void Tick(int times = 1) {
        for (int i = 0; i < times; ++i) {
            clock.Advance(1000);
            panel->form1.Timer1Timer();
        }
    }

    // The letters of the polls sent since the last call.
    std::string Polls() {
        std::string letters;
        for (; pollsSeen_ < port.sent.size(); ++pollsSeen_) {
            const std::string& frame = port.sent[pollsSeen_];
            letters += frame.size() == 3 ? frame[1] : '?';
        }
        return letters;
    }

    template <typename T = QLabel> T* Find(const QString& name) {
        return panel->form1.findChild<T*>(name);
    }
    QString Text(const QString& name) { return Find(name)->text(); }

private:
    std::size_t pollsSeen_ = 0;
};
