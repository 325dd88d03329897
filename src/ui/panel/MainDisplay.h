#pragma once

#include <QString>

// What the frame layer and the reply handlers show on the main window: the link's counters,
// indicator and diagnostic line, the readings, the output LEDs and the model's captions.
class MainDisplay {
public:
    virtual ~MainDisplay() = default;

    // lComm_count, lBCC_error, the online indicator (green when true), lTest.
    virtual void ShowCommsCount(int count) = 0;
    virtual void ShowBccErrorCount(int count) = 0;
    virtual void ShowOnline(bool online) = 0;
    virtual void ShowDiagnosticLine(const QString& text) = 0;

    // The reading replies mark a new reading for the PC log while it is on.
    virtual bool PcLogging() = 0;
    virtual void SetNewReading() = 0;
    // lUnit.
    virtual void ShowUnit(const QString& unitText) = 0;
    // A channel display's reading (0 cold junction, 1 to 8), exactly as received.
    virtual void ShowReading(int channel, const QString& text) = 0;
    // Bit i-1 set: output i active.
    virtual void ShowOutputStates(unsigned states) = 0;
    // After a status reply has set the model and input mode: the output LEDs for the model,
    // the caption, and the display buttons for the input mode.
    virtual void AdaptToStatus(const QString& caption) = 0;
    // The MQTT broker's state beside the online indicator; empty shows nothing.
    virtual void ShowBrokerState(const QString& text) = 0;
};
