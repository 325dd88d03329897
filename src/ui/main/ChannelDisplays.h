#pragma once

#include <QString>
#include <QStringList>
#include <array>

class QGroupBox;
class QLabel;
class QObject;
class QWidget;

// The run-time controls of one channel. Channel 0, the cold junction, has only the group box
// and the reading label.
struct ChannelDisplay {
    QGroupBox* group = nullptr;
    QLabel* reading = nullptr;
    QLabel* minimum = nullptr;
    QLabel* maximum = nullptr;
    QLabel* ledActive = nullptr;   // "LedRed"
    QLabel* ledInactive = nullptr; // "LedGray"
};

// The nine channel displays of the main window, and the minimum/maximum rules on their texts.
// A reading is held as the text received; minimum and maximum are copies of reading texts.
class ChannelDisplays {
public:
    static constexpr int kChannels = 9;
    static inline const QString kNoValue = QStringLiteral("-------");

    // Builds channel 0, then channels 1 to 8, on the window; every reading label gets the
    // event filter, which handles its double-click.
    void Create(QWidget* window, QObject* readingEvents);

    const ChannelDisplay& operator[](int channel) const { return displays_[channel]; }

    // The channel whose reading label is that object (compared by name, channel 0 first),
    // or -1.
    int ChannelOfReading(const QObject* object) const;

    void ShowReading(int channel, const QString& text);
    QString ReadingText(int channel) const;
    // Cold junction first, then channels 1 to 8: the fields of a PC log line.
    QStringList ReadingTexts() const;

    // Once per interval: a minimum or maximum still without a value takes the reading, else
    // the lower or higher of the two.
    void UpdateMinMax();
    // Minimum and maximum of channels 1 to 8 start again from the current readings.
    void ResetMinMax();

    // Both output LEDs of channels 1 to 8 shown or hidden.
    void ShowBothLeds(bool shown);
    // Bit i-1 set: output i active (red LED), clear: inactive (grey LED).
    void ShowOutputStates(unsigned states);

private:
    std::array<ChannelDisplay, kChannels> displays_{};
};
