#pragma once

#include "ExitCode.h"
#include "LineOutput.h"
#include "instrument/ClockText.h"
#include "instrument/Readings.h"

#include <optional>
#include <string>

// One reading as the read loop hands it on: the readings of one reply and the moment they were
// asked for.
struct TimedReading {
    LocalTime time;
    protocol::Readings readings;
};

// Why a sink can take no more readings, which ends the run with that exit status.
struct SinkFailure {
    std::string problem; // told on standard error; empty when the sink says it itself
    ExitCode code = ExitCode::FileError;
};

// A place readings go to: lines on standard output or in a file, an MQTT broker.
class ReadingSink {
public:
    virtual ~ReadingSink() = default;
    // Takes one reading, or says why it cannot.
    virtual std::optional<SinkFailure> Take(const TimedReading& reading) = 0;
    // A failure that came between readings, asked for while the loop waits for the next.
    virtual std::optional<SinkFailure> Failure() { return std::nullopt; }
};

// The PC log's line: the time stamp dd.mm.yy hh:mm:ss, then ";" and each of the nine values
// with four decimals and '.'.
std::string PcLogText(const TimedReading& reading);
// One JSON object: "time" (ISO 8601 with the offset from UTC), "unit" ("C", "F", "mV", "Ohm"),
// "cold_junction" (a number or null) and "channels" (eight numbers or null), null wherever the
// instrument's text is not a number.
std::string JsonText(const TimedReading& reading);

// Each reading as one line of text.
class LineSink final : public ReadingSink {
public:
    using Format = std::string (*)(const TimedReading&);
    LineSink(Format format, LineOutput& output) : format_(format), output_(output) {}

    std::optional<SinkFailure> Take(const TimedReading& reading) override;

private:
    Format format_;
    LineOutput& output_;
};
