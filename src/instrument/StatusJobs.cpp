#include "StatusJobs.h"

#include "protocol/RequestBuilders.h"

namespace jobs {

namespace {

const protocol::Question kStatusPoll = protocol::Question::Poll(protocol::Poll::kStatus);

Result<protocol::InstrumentStatus> StatusOf(const protocol::ExchangeResult& reply) {
    if (!reply.Answered()) {
        return {reply.outcome, std::nullopt};
    }
    return {reply.outcome, protocol::StatusReply::Decode(reply.reply)};
}

// Reads the status and sends it back with only the change, at once, so that the instrument's
// own clock goes back as it was read; with `pcClock` the clock is the PC's as it is then.
StatusChanged ChangeRead(const JobLink& link, Clock& clock, StatusChange change, bool pcClock) {
    StatusChanged changed{ReadStatus(link), {}, {}};
    if (!changed.before.Answered()) {
        return changed;
    }
    if (pcClock) {
        change.clock = ToLocalTime(clock.Now());
    }
    changed.written = WriteStatus(link, StatusRequestFor(*changed.before.value, change, 0),
                                  protocol::ReadBack::Awaited);
    if (changed.written.held.Answered()) {
        changed.notTaken = NotTaken(change, *changed.written.held.value);
    }
    return changed;
}

} // namespace

Result<protocol::InstrumentStatus> ReadStatus(const JobLink& link) {
    return StatusOf(link.Ask(kStatusPoll));
}

Result<protocol::Readings> ReadReadings(const JobLink& link, char poll) {
    const protocol::ExchangeResult reply = link.Ask(protocol::Question::Poll(poll));
    if (!reply.Answered()) {
        return {reply.outcome, std::nullopt};
    }
    std::optional<protocol::Readings> readings = protocol::ReadingsReply::Decode(reply.reply);
    return {readings ? reply.outcome : protocol::Outcome::Refused, std::move(readings)};
}

StatusWritten WriteStatus(const JobLink& link, std::string_view request, protocol::ReadBack how) {
    const std::optional<protocol::Question> change = protocol::Question::Request(request);
    if (!change) {
        return {protocol::Outcome::NotSent, {protocol::Outcome::NotSent, std::nullopt}};
    }
    const protocol::ChangeResult result =
        link.exchange.ChangeAndReadBack(*change, kStatusPoll, how, link.bounds, link.stop);
    if (how == protocol::ReadBack::ToHandlers) {
        return {result.change, {result.readBack.outcome, std::nullopt}};
    }
    return {result.change, StatusOf(result.readBack)};
}

StatusChanged ChangeStatus(const JobLink& link, Clock& clock, const StatusChange& change) {
    return ChangeRead(link, clock, change, false);
}

StatusChanged SetClock(const JobLink& link, Clock& clock, std::optional<LocalTime> time) {
    StatusChange change;
    change.clock = time;
    return ChangeRead(link, clock, change, !time);
}

} // namespace jobs
