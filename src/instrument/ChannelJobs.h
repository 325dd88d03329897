#pragma once

#include "JobLink.h"

#include <optional>
#include <string>

// One channel's sensor type and scaling (y = m x + c), read and changed.
namespace jobs {

// A channel as its configuration reply reports it: the sensor type code (nothing when it is not
// a number) and the m and c fields, eight characters as received.
struct ChannelSetup {
    std::optional<int> typeCode;
    std::string m;
    std::string c;
};

// What a channel is to be set to: the sensor type code and m and c as fixed-point texts with
// '.' (ScalingText), already checked.
struct ChannelSetting {
    int channel = 1;
    int typeCode = 0;
    std::string m;
    std::string c;
};

// Whether the channel holds what was sent: the same type, and m and c of the same value.
bool Holds(const ChannelSetup& held, const ChannelSetting& sent);

Result<ChannelSetup> ReadChannel(const JobLink& link, int channel);

// The "C" request, its pause, then the channel's poll; the set-up read back only when awaited.
struct ChannelChanged {
    protocol::Outcome request = protocol::Outcome::NotAnswered;
    Result<ChannelSetup> held;
};
ChannelChanged ChangeChannel(const JobLink& link, const ChannelSetting& setting,
                             protocol::ReadBack how);

} // namespace jobs
