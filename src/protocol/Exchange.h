#pragma once

#include "FrameLayer.h"
#include "Question.h"
#include "base/Clock.h"

#include <cstdint>
#include <stop_token>
#include <string>

namespace protocol {

// How the program waits for the instrument. The panel handles its window messages meanwhile
// (so replies, timer ticks and clicks run inside the wait), the command-line tool blocks on the
// port's received clusters, tests move a manual clock.
class LinkWait {
public:
    virtual ~LinkWait() = default;
    // Handles what has arrived, waiting at most about `milliseconds` for something to arrive.
    virtual void WaitForActivity(std::uint32_t milliseconds) = 0;
    // The program has begun to close: every wait ends at its next step.
    virtual bool Closing() = 0;
};

// How one exchange ended.
enum class Outcome {
    Answered,    // the reply that answers it came (for a request: any answer)
    NotAnswered, // no usable answer within its bound, after every attempt
    Refused,     // the reply came, but its fields are out of range
    Cancelled,   // the caller's cancel ended the wait
    Closing,     // the program is closing
    NotSent,     // the frame does not fit the transmit buffer
};

struct ExchangeResult {
    Outcome outcome = Outcome::NotAnswered;
    // The reply without its STX, when answered or refused.
    std::string reply;
    bool Answered() const { return outcome == Outcome::Answered; }
};

// How long one attempt waits for its answer, and how many attempts an exchange makes.
struct Bounds {
    static constexpr std::uint32_t kDefaultWaitMs = 3000;
    std::uint32_t waitMs = kDefaultWaitMs;
    int attempts = 1;
};

// How a change's read back reaches its sender: awaited and returned, or sent and left to the
// reply handlers, which show it as it arrives (a window whose handlers fill its controls).
enum class ReadBack { Awaited, ToHandlers };

// How a change and its read back ended. The read back is Answered with its reply only when it
// was awaited; sent to the handlers, it is Answered once it has gone.
struct ChangeResult {
    Outcome change = Outcome::NotAnswered;
    ExchangeResult readBack;
};

// The one way to ask the instrument something: waits until the link is free, sends, waits for
// the reply that answers it, asks again when none came, and says how it ended. The link's one
// transaction at a time, its busy flag and its transmit buffer stay the frame layer's own.
class Exchange {
public:
    Exchange(FrameLayer& frames, Clock& clock, LinkWait& wait);

    // Waits for the link (bounded by the transaction on it), then makes up to
    // `bounds.attempts` attempts of at most `bounds.waitMs` each, until one brings a usable
    // reply; Refused when replies came but none was usable. A request's pause runs after its
    // frame has gone, before its answer is waited for. A cancel requested through `cancel` ends
    // the wait at its next step.
    ExchangeResult Ask(const Question& question, Bounds bounds = {}, std::stop_token cancel = {});
    // A request that changes the instrument, its pause, then the question that reads back what
    // the instrument now holds; the read back is asked whenever the request went out, since the
    // instrument may have taken it though its answer was lost.
    ChangeResult ChangeAndReadBack(const Question& change, const Question& readBack, ReadBack how,
                                   Bounds bounds = {}, std::stop_token cancel = {});
    // Waits for the link, sends, pauses as a request asks, and returns without waiting for the
    // answer: the reply goes to the handlers alone. False when the wait ended by a cancel or the
    // close, or the frame does not fit the buffer.
    bool Send(const Question& question, std::stop_token cancel = {});
    // Sends only when the link is free and never waits; otherwise as Send. The transaction is
    // bounded like any other, so a silent instrument never holds the link.
    bool SendIfIdle(const Question& question);
    // Waits while the link is busy; false when the wait ended by a cancel or the close.
    bool WaitForIdle(std::stop_token cancel = {});
    // Waits `milliseconds`, handling what arrives, and ends at once when the program closes.
    // For the settling times in which replies must still be handled.
    void Settle(std::uint32_t milliseconds);

    FrameLayer& Frames() { return frames_; }

private:
    // One attempt on a free link.
    ExchangeResult Attempt(const Question& question, std::uint32_t waitMs,
                           const std::stop_token& cancel);
    // The outcome that ends a wait early, if any.
    std::optional<Outcome> Interrupted(const std::stop_token& cancel);

    FrameLayer& frames_;
    Clock& clock_;
    LinkWait& wait_;
};

// Three exchanges in a row without an answer, after their attempts: the instrument has stopped
// answering, and a bulk operation (all alarm outputs, the log download) ends there.
class SilenceWatch {
public:
    static constexpr int kSilentAfter = 3;
    void Note(Outcome outcome) {
        unanswered_ = outcome == Outcome::NotAnswered ? unanswered_ + 1 : 0;
    }
    bool Silent() const { return unanswered_ >= kSilentAfter; }

private:
    int unanswered_ = 0;
};

} // namespace protocol
