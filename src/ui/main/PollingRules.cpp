#include "PollingRules.h"

#include <algorithm>
#include <charconv>

int ClampInterval(int seconds) {
    return std::clamp(seconds, kMinimumInterval, kMaximumInterval);
}

int IntervalFromText(std::string_view text) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    while (first != last && *first == ' ') {
        ++first;
    }
    while (last != first && last[-1] == ' ') {
        --last;
    }
    if (first != last && *first == '+') {
        ++first;
    }
    long long value = 0;
    const auto [end, error] = std::from_chars(first, last, value);
    if (first == last || end != last) {
        return kMinimumInterval;
    }
    if (error == std::errc::result_out_of_range) {
        return first[0] == '-' ? kMinimumInterval : kMaximumInterval;
    }
    return static_cast<int>(std::clamp<long long>(value, kMinimumInterval, kMaximumInterval));
}

bool PortReselection::Observe(int outstandingCount) {
    if (outstandingCount <= commsPeak_) {
        return false;
    }
    commsPeak_ = outstandingCount;
    ++commsPeakHits_;
    if (commsPeakHits_ > 10) {
        commsPeakHits_ = 0;
        return true;
    }
    return false;
}
