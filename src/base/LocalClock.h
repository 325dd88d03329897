#pragma once

#include <ctime>

// A date and time of day: the instrument's clock, or the PC's local clock with its offset from
// UTC.
struct LocalTime {
    int year = 2000; // in full
    int month = 1;
    int day = 1;
    int hour = 0;
    int minute = 0;
    int second = 0;
    int utcOffsetSeconds = 0;
};

// This computer's local date and time at a moment, with its offset from UTC then: the one
// place that asks the system for its time zone, which each system does its own way.
LocalTime LocalClockAt(std::time_t moment);
