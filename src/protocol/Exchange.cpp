#include "Exchange.h"

#include <algorithm>

namespace protocol {

namespace {

// The longest single wait; a bounded wait sees its clock move even when nothing arrives.
constexpr std::uint32_t kLongestStepMs = 100;

} // namespace

Exchange::Exchange(FrameLayer& frames, Clock& clock, LinkWait& wait)
    : frames_(frames), clock_(clock), wait_(wait) {}

std::optional<Outcome> Exchange::Interrupted(const std::stop_token& cancel) {
    if (wait_.Closing()) {
        return Outcome::Closing;
    }
    if (cancel.stop_requested()) {
        return Outcome::Cancelled;
    }
    return std::nullopt;
}

bool Exchange::WaitForIdle(std::stop_token cancel) {
    while (frames_.CommsBusy()) {
        if (Interrupted(cancel)) {
            return false;
        }
        wait_.WaitForActivity(kLongestStepMs);
    }
    return !Interrupted(cancel);
}

ExchangeResult Exchange::Ask(const Question& question, Bounds bounds, std::stop_token cancel) {
    ExchangeResult refused;
    for (int attempt = 0; attempt < std::max(bounds.attempts, 1); ++attempt) {
        if (!WaitForIdle(cancel)) {
            return {Interrupted(cancel).value_or(Outcome::Closing), {}};
        }
        ExchangeResult result = Attempt(question, bounds.waitMs, cancel);
        if (result.outcome == Outcome::Refused) {
            refused = std::move(result);
        } else if (result.outcome != Outcome::NotAnswered) {
            return result;
        }
    }
    // A reply that came but could not be used tells more than the silence after it.
    return refused.outcome == Outcome::Refused ? refused : ExchangeResult{};
}

ExchangeResult Exchange::Attempt(const Question& question, std::uint32_t waitMs,
                                 const std::stop_token& cancel) {
    const std::optional<std::uint64_t> transaction =
        frames_.Transmit(question, question.pauseMs + waitMs, true);
    if (!transaction) {
        // The link was free a moment ago; only a frame too long for the buffer stays unsent.
        return {frames_.CommsBusy() ? Outcome::NotAnswered : Outcome::NotSent, {}};
    }
    // The answer may arrive meanwhile; it is handled once the pause is over.
    clock_.Sleep(question.pauseMs);
    const std::uint32_t start = clock_.TickCount();
    for (;;) {
        if (std::optional<TransactionEnd> end = frames_.TakeEnd(*transaction)) {
            if (end->how != TransactionEnd::How::Answered) {
                return {Outcome::NotAnswered, {}};
            }
            const bool refused = question.inRange != nullptr && !question.inRange(end->reply);
            return {refused ? Outcome::Refused : Outcome::Answered, std::move(end->reply)};
        }
        if (const std::optional<Outcome> interrupted = Interrupted(cancel)) {
            frames_.Forget(*transaction);
            return {*interrupted, {}};
        }
        // The attempt ends at its bound even where the link is freed by the watchdog later.
        if (clock_.TickCount() - start >= waitMs) {
            frames_.Forget(*transaction);
            return {Outcome::NotAnswered, {}};
        }
        wait_.WaitForActivity(kLongestStepMs);
    }
}

bool Exchange::Send(const Question& question, std::stop_token cancel) {
    if (!WaitForIdle(cancel) || !SendIfIdle(question)) {
        return false;
    }
    clock_.Sleep(question.pauseMs);
    return true;
}

ChangeResult Exchange::ChangeAndReadBack(const Question& change, const Question& readBack,
                                         ReadBack how, Bounds bounds, std::stop_token cancel) {
    ChangeResult result{Ask(change, bounds, cancel).outcome, {}};
    if (result.change != Outcome::Answered && result.change != Outcome::NotAnswered) {
        result.readBack.outcome = result.change;
    } else if (how == ReadBack::Awaited) {
        result.readBack = Ask(readBack, bounds, cancel);
    } else if (Send(readBack, cancel)) {
        result.readBack.outcome = Outcome::Answered;
    }
    return result;
}

bool Exchange::SendIfIdle(const Question& question) {
    return frames_.Transmit(question, Bounds::kDefaultWaitMs, false).has_value();
}

void Exchange::Settle(std::uint32_t milliseconds) {
    const std::uint32_t start = clock_.TickCount();
    while (!wait_.Closing()) {
        const std::uint32_t elapsed = clock_.TickCount() - start;
        if (elapsed >= milliseconds) {
            return;
        }
        wait_.WaitForActivity(std::min(kLongestStepMs, milliseconds - elapsed));
    }
}

} // namespace protocol
