#include "DownloadProgress.h"

#include "base/Terminal.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>

namespace {

// The line is not rewritten more often than this.
constexpr std::uint32_t kShowEveryMs = 200;

std::string Decimal(double value) {
    const long tenths = std::lround(value * 10);
    return std::to_string(tenths / 10) + "." + std::to_string(tenths % 10);
}

} // namespace

DownloadProgress::DownloadProgress(Clock& clock, int total)
    : clock_(clock), total_(total), shown_(StandardErrorIsTerminal()), start_(clock.TickCount()) {}

DownloadProgress::~DownloadProgress() {
    if (written_) {
        std::fputc('\n', stderr);
    }
}

void DownloadProgress::Show(int done) {
    const std::uint32_t now = clock_.TickCount();
    if (!shown_ || (written_ && now - lastShown_ < kShowEveryMs && done < total_)) {
        return;
    }
    lastShown_ = now;
    written_ = true;
    const double seconds = std::max(now - start_, 1u) / 1000.0;
    const double perSecond = done / seconds;
    const long left = perSecond > 0 ? std::lround((total_ - done) / perSecond) : 0;
    const std::string line = "\rrecord " + std::to_string(done) + " of " + std::to_string(total_) +
                             ", " + Decimal(perSecond) + " records/s, " + std::to_string(left) +
                             " s left   ";
    std::fputs(line.c_str(), stderr);
    std::fflush(stderr);
}
