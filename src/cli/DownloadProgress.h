#pragma once

#include "base/Clock.h"

#include <cstdint>

// The download's progress on standard error, only when that is a terminal: records done of
// the total, records per second and the time left, on one line written over and over.
class DownloadProgress {
public:
    DownloadProgress(Clock& clock, int total);
    ~DownloadProgress();
    DownloadProgress(const DownloadProgress&) = delete;
    DownloadProgress& operator=(const DownloadProgress&) = delete;

    void Show(int done);

private:
    Clock& clock_;
    int total_;
    bool shown_;
    std::uint32_t start_;
    std::uint32_t lastShown_ = 0;
    bool written_ = false;
};
