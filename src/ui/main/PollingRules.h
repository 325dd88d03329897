#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

// The rules of the polling timer that need no window: which reading poll a tick sends, how the
// interval text is read, the busy watchdog and the port re-selection count.

enum class DisplaySelection { Temperature, MilliVolt, LeadResistance };

// The reading poll for the checked display button and the input mode ('T', 'P' or unset):
// 'T', 'M', 'R', 'r', or nothing for lead resistance on a thermocouple instrument.
std::optional<char> ReadingPollLetter(DisplaySelection selection, std::optional<char> inputMode);

inline constexpr int kMinimumInterval = 2;
inline constexpr int kMaximumInterval = 3600;

// The poll interval in seconds from the text of eInterval: a decimal integer clamped to 2..3600;
// any other text gives 2.
int IntervalFromText(std::string_view text);
int ClampInterval(int seconds);

// Frees a link whose transaction has stayed unanswered for four ticks. The count restarts for
// every new frame on the line, so a poll sent by the tick itself, or by any window between two
// ticks, is never cut short by the wait of an earlier one.
class BusyWatchdog {
public:
    // Step of one tick, after that tick's own poll: true when CommsBusy is to be cleared.
    bool Tick(bool commsBusy, std::uint64_t framesTransmitted);

private:
    int count_ = 0;
    std::uint64_t framesSeen_ = 0;
};

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
