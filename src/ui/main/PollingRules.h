#pragma once

#include "protocol/MessageCatalogue.h"

#include <cstdint>
#include <optional>
#include <string_view>

// The rules of the polling timer that need no window: which reading poll a tick sends, how the
// interval text is read and the port re-selection count.

enum class DisplaySelection { Temperature, MilliVolt, LeadResistance };

// The reading poll for the checked display button and the instrument's inputs (or unset):
// 'T', 'M', 'R', 'r', or nothing for lead resistance on a thermocouple instrument.
std::optional<char> ReadingPollLetter(DisplaySelection selection,
                                      std::optional<InputFamily> inputs);

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
