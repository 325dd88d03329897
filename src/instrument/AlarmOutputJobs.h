#pragma once

#include "JobLink.h"
#include "protocol/MessageCatalogue.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

// The alarm outputs of a V630, read and written one transaction at a time.
namespace jobs {

// After the main polling has stopped, a reply to its last poll may still be on its way; reading
// all outputs waits this long first, so that it does not meet the first output's wait.
inline constexpr std::uint32_t kQuietAfterPollingMs = 500;

// How one output fared.
enum class OutputFate {
    Confirmed,   // read: reported; written: read back as sent
    NotAnswered, // the instrument did not report it
    Refused,     // reported with a field out of range, so not taken
    Differs,     // written, but read back with other values
    NotTried,    // the job was stopped, or the instrument had stopped answering
};

struct OutputResult {
    int output = 1;
    OutputFate fate = OutputFate::NotTried;
    // What the instrument reported, when it did within range.
    std::optional<protocol::AlarmOutputSetting> held;
};

// Called just before an output is first asked about (the panel turns its row red).
using OutputAsking = std::function<void(int output)>;

// Each output is asked for in order; one the instrument does not answer costs only its own
// result, but three unanswered in a row mean it has stopped answering, and the rest is not
// tried.
std::vector<OutputResult> ReadAlarmOutputs(const JobLink& link, const std::vector<int>& outputs,
                                           const OutputAsking& asking = {});
// Each output written ("A" request and its pause) and read back.
std::vector<OutputResult>
WriteAlarmOutputs(const JobLink& link, const std::vector<protocol::AlarmOutputSetting>& settings,
                  const OutputAsking& asking = {});

} // namespace jobs
