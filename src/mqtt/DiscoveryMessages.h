#pragma once

#include "mqtt/ReadingMessages.h"

#include <string_view>
#include <vector>

namespace mqtt {

// The retained configurations by which a home-automation dashboard finds each channel as a
// sensor by itself: DISCOVERY/sensor/ID/channelN/config for N = 0 to 8, each naming the
// channel's state topic (STATE/ID/channel/N), its unit, and the status topic for availability.
// `unit` is a reading's ("C", "F", "mV" or "Ohm"); the configurations change with it.
std::vector<Message> DiscoveryMessages(std::string_view discoveryPrefix,
                                       std::string_view statePrefix, std::string_view id,
                                       const InstrumentInfo& info, std::string_view unit);

} // namespace mqtt
