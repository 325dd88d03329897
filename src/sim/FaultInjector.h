#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace sim {

// How often a fault strikes: on each reply with a probability, or on a number of replies in a
// row starting with the `start`-th reply that the fault can apply to.
struct FaultRate {
    double probability = 0.0;
    std::int64_t count = 0;
    std::int64_t start = 1;

    bool Enabled() const { return probability > 0.0 || count > 0; }
};
// "25%" or "0.25": a probability; "3": the first three replies; "3@10": three replies from
// the tenth on. Nothing for any other text.
std::optional<FaultRate> ParseFaultRate(std::string_view text);

struct FaultOptions {
    FaultRate drop;        // the reply is never sent
    FaultRate corrupt_bcc; // a framed reply goes out with a wrong BCC
    FaultRate split;       // the reply goes out in two parts `split_gap_ms` apart
    FaultRate join;        // the reply is held back and goes out in one write with the next
    FaultRate garbage;     // a few stray bytes go out before the reply
    FaultRate burst;       // the reply is followed by filler up to `burst_size` bytes
    FaultRate silent;      // the instrument stops answering for `silent_ms`
    FaultRate late;        // the reply waits `delay_ms`; every reply when not set
    std::uint32_t delay_ms = 0;
    std::uint32_t split_gap_ms = 600;
    std::uint32_t silent_ms = 5000;
    std::size_t burst_size = 300;
    std::uint32_t seed = 1;
};

// One write of the answer, `after_ms` after the request was taken.
struct TimedWrite {
    std::uint32_t after_ms = 0;
    std::string bytes;
};

// Turns each answer into the writes that carry it, as the configured faults decide.
class FaultInjector {
public:
    explicit FaultInjector(const FaultOptions& options);

    // `now_ms` is any monotonic millisecond count; it times the silent spells.
    std::vector<TimedWrite> Shape(std::string answer, std::uint64_t now_ms);
    // A reply held back for joining, handed over when the line shuts down.
    std::string TakeHeld();

private:
    class Trigger {
    public:
        explicit Trigger(const FaultRate& rate) : rate_(rate) {}
        // Counts one reply the fault could apply to and says whether it strikes it.
        bool Strikes(std::mt19937& random);

    private:
        FaultRate rate_;
        std::int64_t seen_ = 0;
    };

    FaultOptions options_;
    std::mt19937 random_;
    Trigger drop_, corrupt_, split_, join_, garbage_, burst_, silent_, late_;
    std::uint64_t silent_until_ = 0;
    std::string held_;
};

} // namespace sim
