#pragma once

#include "instrument/SettleRule.h"

#include <QColor>
#include <QString>
#include <optional>
#include <vector>

class QCheckBox;
class QGroupBox;
class QLabel;
class QWidget;

// One channel's column of the calibration window, built at run time: the live reading, the
// Cal box, the zero and span readings, m, c and the sensor type; and what the procedure keeps
// for the channel.
struct ChannelColumn {
    // Shown instead of m and c when the span reading equals the zero reading.
    static inline const QString kNoSlope = QStringLiteral("span=zero");
    // Shown instead of m and c when a stage ended without a number read for the channel.
    static inline const QString kNoReading = QStringLiteral("no data");
    static inline const QColor kSettled{0, 255, 0};
    static inline const QColor kMoving{255, 0, 0};
    static inline const QColor kReceived{0, 255, 0};

    // Makes the column of channel `channel` on `window`, named stem + channel digit.
    static ChannelColumn Create(QWidget* window, int channel);

    QGroupBox* group = nullptr;
    QLabel* live = nullptr;      // lDispx
    QCheckBox* select = nullptr; // cbCalx
    QLabel* zero = nullptr;      // l0mVx
    QLabel* span = nullptr;      // l50mVx
    QLabel* m = nullptr;         // lmx
    QLabel* c = nullptr;         // lcx
    QLabel* type = nullptr;      // lTypex

    // The sensor type code the instrument last reported; channel 0 is always the cold-junction
    // sensor, code 0.
    std::optional<int> typeCode;
    int settleCountdown = SettleRule::kSettledTicks;
    // Whether the zero and the span reading labels hold a number the instrument sent while
    // their stage sampled: only then does the channel get a new m and c.
    bool zeroReceived = false;
    bool spanReceived = false;
    // From Ready until Send or Restart the labels hold the new m and c, which a channel reply
    // must not replace with the instrument's old ones.
    bool holdsNewScaling = false;
};

// A label's background: a colour, or the window's own when none is given.
void SetBackground(QLabel* label, std::optional<QColor> colour);

// "Ch2, Ch5": the channels a message names.
QString ChannelNames(const std::vector<int>& channels);

// Whether a reading text is a number with '.': "-------" from an open sensor is none.
bool IsReading(const QString& text);

// The number a label or an edit shows, in single precision; 0 for any text that is not a number
// with '.' (so for "-------").
float ShownNumber(const QString& text);
