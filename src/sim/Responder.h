#pragma once

#include "sim/Framing.h"
#include "sim/InstrumentModel.h"

#include <optional>
#include <string>
#include <string_view>

namespace sim {

// The instrument's side of the protocol: every poll is answered with the framed reply of the
// same letter, every request with a single acknowledge byte once it has changed the model.
// A frame it does not know (an unknown letter, a poll with the wrong digits, a bad BCC, an
// over-long frame) gets no answer at all.
class Responder {
public:
    explicit Responder(InstrumentModel& model) : model_(model) {}

    std::optional<std::string> Answer(const DecodedFrame& frame);

    // The reply payloads (without STX, ETX and BCC), public for the layout tests.
    std::optional<std::string> PollReply(std::string_view body) const;
    std::string StatusReply() const;
    std::string TemperatureReply() const;
    std::string MillivoltReply() const;
    std::string ResistanceReply(char letter) const;
    std::string ChannelReply(int channel) const;
    std::string OutputReply(int output) const;
    std::string RecordReply(std::int64_t number) const;

    // Applies a request payload; false when its letter is not a request.
    bool ApplyRequest(std::string_view payload);

private:
    void ApplyStatusRequest(std::string_view payload);
    void ApplyOutputRequest(std::string_view payload);
    void ApplyChannelRequest(std::string_view payload);

    InstrumentModel& model_;
};

} // namespace sim
