#pragma once

#include "ClockText.h"
#include "JobLink.h"
#include "StatusSettings.h"
#include "base/Clock.h"

#include <string>
#include <string_view>
#include <vector>

// The instrument-wide jobs: its status, its readings, and the status settings changed and read
// back.
namespace jobs {

Result<protocol::InstrumentStatus> ReadStatus(const JobLink& link);

// One reading poll ('T', 'M', 'R' or 'r', ReadingPoll); Refused when its reply cannot be read
// (a 'T' reply whose unit flags are not a number).
Result<protocol::Readings> ReadReadings(const JobLink& link, char poll);

// The "S" request sent, its pause, then the status read back; the read back's value only when
// it was awaited.
struct StatusWritten {
    protocol::Outcome request = protocol::Outcome::NotAnswered;
    Result<protocol::InstrumentStatus> held;
};
// `request` is the "S" payload (StatusRequest, StatusRequestFor).
StatusWritten WriteStatus(const JobLink& link, std::string_view request, protocol::ReadBack how);

// Named settings changed: the status read, sent back with only the change, the pause, the
// status read back, and the changed settings the instrument does not hold (NotTaken).
struct StatusChanged {
    Result<protocol::InstrumentStatus> before;
    StatusWritten written;
    std::vector<std::string> notTaken;

    bool Done() const { return written.held.Answered() && notTaken.empty(); }
};
StatusChanged ChangeStatus(const JobLink& link, Clock& clock, const StatusChange& change);
// The instrument's clock set to `time`, or to the PC's when none is given, taken once the status
// has been read so that it is as fresh as can be when it goes out.
StatusChanged SetClock(const JobLink& link, Clock& clock, std::optional<LocalTime> time);

} // namespace jobs
