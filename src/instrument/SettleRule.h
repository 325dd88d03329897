#pragma once

#include "protocol/Exchange.h"
#include "protocol/MessageCatalogue.h"

#include <optional>

// Whether a channel's reading has settled during a sampling stage: each tick compares the new
// reading with the one before, in single precision, and a channel counts as settled once its
// reading has moved by less than its threshold on ten consecutive ticks.
namespace SettleRule {

inline constexpr int kSettledTicks = 10;

// 0.01 on a resistance instrument and for the cold junction, 0.004 (mV) for the thermocouple
// inputs; an instrument that has not reported its inputs yet counts as a thermocouple one.
float Threshold(std::optional<protocol::InputFamily> inputs, int channel);

// One tick of one channel: `countdown` is the channel's count of settled ticks still needed.
// True when the channel is settled after this tick.
bool Apply(int& countdown, float newReading, float previousReading, float threshold);

// Once new scaling has been sent, the instrument settles this long before the reading that
// checks it (Post) is asked for, and that reading is waited for within these bounds.
inline constexpr std::uint32_t kSettlingAfterSendMs = 5000;
inline constexpr protocol::Bounds kPostReadingBounds{3000, 1};

} // namespace SettleRule
