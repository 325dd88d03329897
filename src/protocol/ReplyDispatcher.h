#pragma once

#include "FrameLayer.h"
#include "ReplyHandler.h"

#include <string>

// DispatchReply: the bookkeeping of every framed reply, then the handler chosen by its first
// character. 'T' sets the unit label from its unit flags; the four reading replies mark a new
// reading for the PC log. Connects itself to the frame layer for as long as it lives.
class ReplyDispatcher {
public:
    // lUnit texts, five characters each; the degree sign is the byte 0xB0.
    static constexpr const char* kMillivoltUnit = "  mV ";
    static constexpr const char* kResistanceUnit = "  R  ";
    static constexpr const char* kFahrenheitUnit = " \xB0 F ";
    static constexpr const char* kCelsiusUnit = " \xB0 C ";

    ReplyDispatcher(FrameLayer& frames, ReplyHandler& handler);
    ~ReplyDispatcher();
    ReplyDispatcher(const ReplyDispatcher&) = delete;
    ReplyDispatcher& operator=(const ReplyDispatcher&) = delete;

    void DispatchReply(const std::string& payload);

private:
    // The reading replies give the PC log a new line while it is on.
    void MarkNewReading();

    FrameLayer& frames_;
    ReplyHandler& handler_;
};
