#include "ReplyDispatcher.h"

namespace protocol {

ReplyDispatcher::ReplyDispatcher(FrameLayer& frames, ReplyHandler& handler)
    : frames_(frames), handler_(handler) {
    frames_.SetDispatcher([this](const std::string& payload) { DispatchReply(payload); });
}

ReplyDispatcher::~ReplyDispatcher() {
    frames_.SetDispatcher(nullptr);
}

void ReplyDispatcher::DispatchReply(const std::string& payload) {
    if (payload.empty()) {
        return;
    }
    frames_.CountReply();
    switch (payload.front()) {
    case '0':
    case '1':
    case '2':
    case '3':
    case '4':
    case '5':
    case '6':
    case '7':
    case '8':
        handler_.OnChannelConfiguration(payload);
        break;
    case 'A':
        handler_.OnAlarmOutput(payload);
        break;
    case 'M':
    case 'T':
        handler_.OnReadings(payload);
        break;
    case 'O':
        handler_.OnOutputStates(payload);
        break;
    case 'R':
    case 'r':
        handler_.OnResistanceReadings(payload);
        break;
    case 'S':
        handler_.OnStatus(payload);
        break;
    case 'X':
        handler_.OnRegisters(payload);
        break;
    case 'Z':
        handler_.OnSerialNumber(payload);
        break;
    case 'f':
        handler_.OnFilterConstant(payload);
        break;
    default:
        break;
    }
}

} // namespace protocol
