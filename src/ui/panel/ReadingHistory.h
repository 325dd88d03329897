#pragma once

#include <array>

// The last 60 readings of channels 1 to 8, kept as a ring: the readings handler advances the
// newest index (59 wraps to 0) and then stores every channel at it. The chart reads it.
struct ReadingHistory {
    static constexpr int kChannels = 8;
    static constexpr int kDepth = 60;

    std::array<std::array<float, kDepth>, kChannels> values{};
    int newest = 0;

    // channel 1..8, position 0..59
    float At(int channel, int position) const { return values[channel - 1][position]; }
    float Newest(int channel) const { return At(channel, newest); }

    void Append(const std::array<float, kChannels>& readings) {
        newest = (newest + 1) % kDepth;
        for (int channel = 0; channel < kChannels; ++channel) {
            values[channel][newest] = readings[channel];
        }
    }
    void Clear() { *this = ReadingHistory{}; }
};
