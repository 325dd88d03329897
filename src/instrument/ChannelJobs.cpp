#include "ChannelJobs.h"

#include "NumberText.h"
#include "protocol/RequestBuilders.h"

#include <cmath>

namespace jobs {

namespace {

Result<ChannelSetup> SetupOf(const protocol::ExchangeResult& reply) {
    if (!reply.Answered()) {
        return {reply.outcome, std::nullopt};
    }
    return {reply.outcome,
            ChannelSetup{protocol::ChannelConfigurationReply::SensorType(reply.reply),
                         protocol::ChannelConfigurationReply::ScalingM(reply.reply),
                         protocol::ChannelConfigurationReply::ScalingC(reply.reply)}};
}

bool SameNumber(const std::string& sent, const std::string& held) {
    const std::optional<double> heldValue = ParseFloat(held);
    return heldValue && std::fabs(*heldValue - TextToFloat(sent)) < 1e-9;
}

} // namespace

bool Holds(const ChannelSetup& held, const ChannelSetting& sent) {
    return held.typeCode == sent.typeCode && SameNumber(sent.m, held.m) &&
           SameNumber(sent.c, held.c);
}

Result<ChannelSetup> ReadChannel(const JobLink& link, int channel) {
    return SetupOf(link.Ask(protocol::Question::Poll(protocol::Poll::Channel(channel))));
}

ChannelChanged ChangeChannel(const JobLink& link, const ChannelSetting& setting,
                             protocol::ReadBack how) {
    const protocol::ChangeResult result = link.exchange.ChangeAndReadBack(
        *protocol::Question::Request(
            protocol::ChannelRequest(setting.channel, setting.typeCode, setting.m, setting.c)),
        protocol::Question::Poll(protocol::Poll::Channel(setting.channel)), how, link.bounds,
        link.stop);
    if (how == protocol::ReadBack::ToHandlers) {
        return {result.change, {result.readBack.outcome, std::nullopt}};
    }
    return {result.change, SetupOf(result.readBack)};
}

} // namespace jobs
