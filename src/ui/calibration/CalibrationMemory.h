#pragma once

#include <QString>
#include <array>

// The local copy of each channel's calibration, channels 0 to 8: the span reading before the
// new calibration (Pre), the reading after it (Post), and the m and c texts as sent or
// remembered. "-------" for anything not set; it lives as long as the program.
struct CalibrationMemory {
    static constexpr int kChannels = 9;
    static inline const QString kNotSet = QStringLiteral("-------");

    struct Channel {
        QString pre = kNotSet;
        QString post = kNotSet;
        QString m = kNotSet;
        QString c = kNotSet;
    };
    std::array<Channel, kChannels> channels;
};
