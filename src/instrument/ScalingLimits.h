#pragma once

#include "Checked.h"

#include <optional>
#include <string>
#include <string_view>

// The range a channel's scaling value (m or c of y = m x + c) is held to before it is sent: a
// value further than the tolerance from the centre is beyond it. The panel reports it with the
// message and, on the operator's OK, sends the nearer limit instead; the command-line tool
// refuses it.
struct ScalingLimit {
    std::string name; // "m", "c"
    double centre;
    double tolerance;
    // m = 0 is the uncalibrated state a calibration reset leaves, and passes unchecked.
    bool zeroPasses;
    std::string message;

    bool OutOfRange(double value) const;
    double NearerLimit(double value) const;
};

const ScalingLimit& SlopeLimit();     // m: 1.0 +/- 0.1
const ScalingLimit& InterceptLimit(); // c: 0.0 +/- 2

// The value with four decimals and '.', when it fits the instrument's eight-character field;
// nothing when it would have to be cut.
std::optional<std::string> ScalingText(double value);

// A scaling value given as text with '.': its four-decimal text when it is a number within the
// limit that fits the field.
Checked<std::string> CheckScaling(const ScalingLimit& limit, std::string_view text);
