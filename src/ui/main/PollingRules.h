#pragma once

#include <string_view>

// The rules of the polling timer that need no window: how the interval text is read and the
// port re-selection count.

inline constexpr int kMinimumInterval = 2;
inline constexpr int kMaximumInterval = 3600;

// The poll interval in seconds from the text of eInterval: a decimal integer clamped to 2..3600;
// any other text gives 2.
int IntervalFromText(std::string_view text);
int ClampInterval(int seconds);

// Counts new highs of the outstanding-request count; every eleventh one asks for the serial port
// to be opened again. The peak is never lowered, not even when the count is reset on the window.
class PortReselection {
public:
    // True when the port is to be re-selected now.
    bool Observe(int outstandingCount);
    int CommsPeak() const { return commsPeak_; }
    int CommsPeakHits() const { return commsPeakHits_; }

private:
    int commsPeak_ = 0;
    int commsPeakHits_ = 0;
};
