#include "sim/FaultInjector.h"

#include "sim/FieldText.h"
#include "sim/Framing.h"

#include <utility>

namespace sim {

std::optional<FaultRate> ParseFaultRate(std::string_view text) {
    FaultRate rate;
    if (text.ends_with('%')) {
        const auto percent = ParseNumber(text.substr(0, text.size() - 1));
        if (!percent || *percent < 0 || *percent > 100) {
            return std::nullopt;
        }
        rate.probability = *percent / 100.0;
        return rate;
    }
    if (text.find('.') != text.npos) {
        const auto probability = ParseNumber(text);
        if (!probability || *probability < 0 || *probability > 1) {
            return std::nullopt;
        }
        rate.probability = *probability;
        return rate;
    }
    std::string_view count = text;
    if (const auto at = text.find('@'); at != text.npos) {
        const auto start = ParseDecimal(text.substr(at + 1));
        if (!start || *start < 1) {
            return std::nullopt;
        }
        rate.start = *start;
        count = text.substr(0, at);
    }
    const auto number = ParseDecimal(count);
    if (!number || *number < 0) {
        return std::nullopt;
    }
    rate.count = *number;
    return rate;
}

bool FaultInjector::Trigger::Strikes(std::mt19937& random) {
    ++seen_;
    if (rate_.probability > 0.0) {
        return static_cast<double>(random()) / (static_cast<double>(random.max()) + 1.0) <
               rate_.probability;
    }
    return seen_ >= rate_.start && seen_ < rate_.start + rate_.count;
}

FaultInjector::FaultInjector(const FaultOptions& options)
    : options_(options), random_(options.seed), drop_(options.drop), corrupt_(options.corrupt_bcc),
      split_(options.split), join_(options.join), garbage_(options.garbage), burst_(options.burst),
      silent_(options.silent), late_(options.late) {}

std::string FaultInjector::TakeHeld() {
    return std::exchange(held_, {});
}

std::vector<TimedWrite> FaultInjector::Shape(std::string answer, std::uint64_t now_ms) {
    if (now_ms < silent_until_) {
        return {};
    }
    if (options_.silent.Enabled() && silent_.Strikes(random_)) {
        silent_until_ = now_ms + options_.silent_ms;
        return {};
    }
    if (options_.drop.Enabled() && drop_.Strikes(random_)) {
        return {};
    }
    const bool framed = answer.size() >= 3 && answer.front() == kStx;
    if (framed && options_.corrupt_bcc.Enabled() && corrupt_.Strikes(random_)) {
        answer.back() = static_cast<char>(answer.back() ^ 0xFF);
    }
    if (options_.garbage.Enabled() && garbage_.Strikes(random_)) {
        std::string noise(1 + random_() % 4, '\0');
        for (char& byte : noise) {
            // Anything but an STX, so the noise never passes for the start of a reply.
            byte = static_cast<char>(0x80 + random_() % 0x80);
        }
        answer.insert(0, noise);
    }
    if (options_.burst.Enabled() && burst_.Strikes(random_)) {
        while (answer.size() < options_.burst_size) {
            answer += static_cast<char>(0x20 + random_() % 0x5F);
        }
    }
    if (options_.join.Enabled() && held_.empty() && join_.Strikes(random_)) {
        held_ = std::move(answer);
        return {};
    }
    answer.insert(0, TakeHeld());

    const bool late = options_.delay_ms > 0 && (!options_.late.Enabled() || late_.Strikes(random_));
    const std::uint32_t delay = late ? options_.delay_ms : 0;
    if (answer.size() >= 2 && options_.split.Enabled() && split_.Strikes(random_)) {
        const std::size_t half = answer.size() / 2;
        return {TimedWrite{delay, answer.substr(0, half)},
                TimedWrite{delay + options_.split_gap_ms, answer.substr(half)}};
    }
    return {TimedWrite{delay, std::move(answer)}};
}

} // namespace sim
