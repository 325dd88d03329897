#pragma once

#include "protocol/Exchange.h"

#include <optional>
#include <stop_token>

// The jobs both front ends run on the instrument: each asks through the exchange path, within
// the bounds it is given, until it is done or its stop token is stopped (the operator's cancel;
// the program's close ends every wait through the exchange itself). A job never prints, shows or
// asks anything: it returns what happened, and the front end tells it in its own way.
namespace jobs {

// A run with nobody at the screen asks each question up to three times before it gives up; a
// reading poll, which the next interval asks again anyway, once.
inline constexpr protocol::Bounds kUnattendedBounds{protocol::Bounds::kDefaultWaitMs, 3};
inline constexpr protocol::Bounds kReadingPollBounds{protocol::Bounds::kDefaultWaitMs, 1};

// What a job runs on: the exchange path, how long each answer is waited for and how often a
// question is asked, and what stops the job between and within its exchanges.
struct JobLink {
    protocol::Exchange& exchange;
    protocol::Bounds bounds;
    std::stop_token stop;

    protocol::ExchangeResult Ask(const protocol::Question& question) const {
        return exchange.Ask(question, bounds, stop);
    }
};

// How one question of a job ended, and what its answer said when it could be read.
template <typename Value> struct Result {
    protocol::Outcome outcome = protocol::Outcome::NotAnswered;
    std::optional<Value> value;

    bool Answered() const { return value.has_value(); }
};

// The exchange ended because the job was stopped or the program is closing, not by the
// instrument.
inline bool Stopped(protocol::Outcome outcome) {
    return outcome == protocol::Outcome::Cancelled || outcome == protocol::Outcome::Closing;
}

} // namespace jobs
