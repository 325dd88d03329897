#pragma once

#include "base/Clock.h"
#include "sim/ControlFile.h"
#include "sim/FaultInjector.h"
#include "sim/Framing.h"
#include "sim/InstrumentModel.h"
#include "sim/Responder.h"
#include "sim/ServerOptions.h"
#include "sim/Trace.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>

namespace sim {

// The instrument at its end of the serial line, whatever carries the bytes (a pseudo-terminal,
// or the port's own process): it takes the frames the panel sends, answers them as the model
// and the faults decide, and hands out each answer when its last byte would have crossed the
// line. Its owner calls it from one thread at a time; the model is touched only under
// `model_mutex`.
class InstrumentLine {
public:
    // Bytes handed to the line's carrier; returns how many it took.
    using Writer = std::function<std::size_t(std::string_view bytes)>;

    InstrumentLine(const ServerOptions& options, Clock& clock, std::mutex& model_mutex,
                   InstrumentModel& model);

    // Milliseconds since the line was made.
    std::uint64_t Elapsed();
    // Bytes from the panel, sent at `baud`.
    void Receive(std::string_view bytes, std::uint32_t baud);
    // Milliseconds until the next answer is due, at most `longest`.
    std::uint64_t MillisecondsToNextWrite(std::uint64_t longest);
    // Hands every answer that is due to `write`; one it takes only in part waits for the next
    // call.
    void WriteDue(const Writer& write);
    // The line's own upkeep: a frame that stopped half way is forgotten, the model measures,
    // the control file is read when it is due.
    void Tick();
    // The line went down: answers on their way and a half-received frame are lost.
    void Drop();
    // When the line shuts down: the reply held back for joining goes out.
    void WriteHeld(const Writer& write);
    void Note(std::string_view text) { trace_.Note(text); }

private:
    struct ScheduledWrite {
        std::uint64_t due;
        std::string bytes;
    };

    void HandleSafely(const DecodedFrame& frame, std::uint32_t baud);
    void Handle(const DecodedFrame& frame, std::uint32_t baud);
    void ReadControlFile(std::uint64_t now);

    const ServerOptions& options_;
    Clock& clock_;
    std::mutex& model_mutex_;
    InstrumentModel& model_;
    Responder responder_;
    FaultInjector faults_;
    Trace trace_;
    std::optional<ControlFile> control_;
    FrameDecoder decoder_;
    std::deque<ScheduledWrite> writes_;

    std::uint32_t last_tick_;
    std::uint64_t elapsed_ = 0;
    std::uint64_t last_byte_ = 0;
    std::uint64_t next_control_look_ = 0;
};

} // namespace sim
