// The publisher's network thread: connecting, handing messages to the library, pausing between
// attempts, and leaving.
#include "MosquittoClient.h"
#include "Publisher.h"

#include <algorithm>
#include <iterator>

namespace mqtt {

namespace {

constexpr int kKeepAliveSeconds = 15; // also bounds an attempt that never gets an answer
constexpr int kLoopMs = 100;          // how soon a new reading or a stop is noticed
constexpr std::uint32_t kFirstPauseMs = 1000;
constexpr std::uint32_t kLongestPauseMs = 30'000;
// A connection that lasted this long starts the pauses afresh; shorter ones (two publishers
// with one id taking the connection from each other) keep them growing.
constexpr std::uint32_t kSettledMs = 30'000;
constexpr std::uint32_t kLeaveMs = 1000;

bool IsLoginRefusal(int answer) {
    return answer == MosquittoClient::kBadUserNameOrPassword ||
           answer == MosquittoClient::kNotAuthorised;
}

} // namespace

void Publisher::Run() {
    std::uint32_t pause = kFirstPauseMs;
    while (!stopping_) {
        const SessionEnd end = RunSession();
        if (end == SessionEnd::Refused || end == SessionEnd::Left) {
            return;
        }
        if (end == SessionEnd::Lost && clock_.TickCount() - connectedAt_ >= kSettledMs) {
            pause = kFirstPauseMs;
        }
        WaitBeforeRetry(pause);
        pause = std::min(pause * 2, kLongestPauseMs);
    }
}

Publisher::SessionEnd Publisher::RunSession() {
    answer_ = -1;
    const int result =
        client_->ConnectAsync(options_.broker.host, options_.broker.port, kKeepAliveSeconds);
    if (result != 0) {
        NoteFailure(client_->Failure(result));
        return SessionEnd::Failed;
    }
    while (true) {
        HandOver();
        if (stopping_ && (!connected_ || Drained() || PastStopBound())) {
            Leave();
            return SessionEnd::Left;
        }
        if (!connected_) {
            if (const std::string ended = client_->ConnectionEnded(); !ended.empty()) {
                NoteFailure(ended);
                return SessionEnd::Failed;
            }
        }
        if (const int loop = client_->Loop(kLoopMs); loop != 0) {
            return Ended(loop);
        }
    }
}

Publisher::SessionEnd Publisher::Ended(int result) {
    const bool wasConnected = connected_ || answer_ == 0;
    connected_ = online_ = false;
    if (IsLoginRefusal(answer_)) {
        return GiveUp(Refusal::Login, "the broker refused the login (" +
                                          MosquittoClient::ConnectAnswerText(answer_) + ")");
    }
    if (const std::string& failure = client_->CertificateFailure(); !failure.empty()) {
        return GiveUp(Refusal::Certificate,
                      "the broker's certificate failed verification (" + failure + ")");
    }
    if (answer_ > 0) {
        NoteFailure(MosquittoClient::ConnectAnswerText(answer_));
        return SessionEnd::Failed;
    }
    if (!wasConnected) {
        NoteFailure(client_->Failure(result));
        return SessionEnd::Failed;
    }
    Log("connection lost; keeping up to " + std::to_string(options_.queueReadings) +
        " readings until it is back");
    lastFailure_.clear();
    return SessionEnd::Lost;
}

Publisher::SessionEnd Publisher::GiveUp(Refusal refusal, const std::string& why) {
    refusal_ = refusal;
    Log(why + "; giving up");
    return SessionEnd::Refused;
}

void Publisher::Connected(int answer) {
    answer_ = answer;
    if (answer != 0) {
        return;
    }
    connected_ = online_ = true;
    connectedAt_ = clock_.TickCount();
    lastFailure_.clear();
    discoveredUnit_.reset(); // a broker that lost its retained store learns them again
    if (const std::optional<InstrumentInfo> info = InfoToSend(true)) {
        outgoing_.push_front(InfoMessage(options_.broker.prefix, options_.id, *info));
    }
    outgoing_.push_front(StatusMessage(options_.broker.prefix, options_.id, true));
    Log("connected");
}

// The library keeps every message it is handed until acknowledged, without a bound; ours stay
// in our queue until the connection has room for them.
void Publisher::HandOver() {
    if (!connected_) {
        return;
    }
    if (const std::optional<InstrumentInfo> info = InfoToSend(false)) {
        outgoing_.push_front(InfoMessage(options_.broker.prefix, options_.id, *info));
    }
    while (inFlight_ < kInFlightLimit && (!outgoing_.empty() || TakeNextReading())) {
        if (client_->Publish(outgoing_.front()) != 0) {
            return; // the connection is going; the loop says so next
        }
        outgoing_.pop_front();
        ++inFlight_;
    }
}

bool Publisher::TakeNextReading() {
    std::optional<Reading> reading;
    {
        std::lock_guard lock(mutex_);
        reading = queue_.Pop();
    }
    if (!reading) {
        return false;
    }
    QueueDiscoveryFor(reading->unit);
    std::vector<Message> messages = ReadingMessages(options_.broker.prefix, options_.id, *reading);
    outgoing_.insert(outgoing_.end(), std::make_move_iterator(messages.begin()),
                     std::make_move_iterator(messages.end()));
    return true;
}

bool Publisher::Drained() const {
    std::lock_guard lock(mutex_);
    return inFlight_ == 0 && outgoing_.empty() && queue_.Size() == 0;
}

bool Publisher::PastStopBound() {
    return static_cast<std::int32_t>(clock_.TickCount() - stopDeadline_) >= 0;
}

// "offline" goes after everything handed over; the broker then drops the last will.
void Publisher::Leave() {
    if (connected_) {
        client_->Publish(StatusMessage(options_.broker.prefix, options_.id, false));
        client_->Disconnect();
        const std::uint32_t start = clock_.TickCount();
        while (client_->Loop(kLoopMs) == 0 && clock_.TickCount() - start < kLeaveMs) {
        }
    }
    connected_ = online_ = false;
}

void Publisher::WaitBeforeRetry(std::uint32_t pause) {
    const std::uint32_t start = clock_.TickCount();
    for (std::uint32_t waited = 0; waited < pause && !stopping_;
         waited = clock_.TickCount() - start) {
        clock_.Sleep(std::min<std::uint32_t>(kLoopMs, pause - waited));
    }
}

// Said once per kind of failure, not at every attempt of a long outage.
void Publisher::NoteFailure(const std::string& reason) {
    if (reason != lastFailure_) {
        lastFailure_ = reason;
        Log("cannot connect (" + reason + "); trying again with pauses growing to " +
            std::to_string(kLongestPauseMs / 1000) + " s");
    }
}

} // namespace mqtt
