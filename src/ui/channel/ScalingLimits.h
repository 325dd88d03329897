#pragma once

#include <QString>
#include <optional>
#include <string>

// The range the window holds one scaling value (m or c) to before it is sent: a value further
// than the tolerance from the centre is reported with the message, and on the operator's OK it
// becomes the nearer limit.
struct ScalingLimit {
    double centre;
    double tolerance;
    // m = 0 is the uncalibrated state a calibration reset leaves, and passes unchecked.
    bool zeroPasses;
    QString message;

    bool OutOfRange(double value) const;
    double NearerLimit(double value) const;
};

const ScalingLimit& SlopeLimit();     // m: 1.0 +/- 0.1
const ScalingLimit& InterceptLimit(); // c: 0.0 +/- 2

// The value with four decimals and '.', when it fits the instrument's eight-character field;
// nothing when it would have to be cut.
std::optional<std::string> ScalingText(double value);

// A scaling text as the window's edits show it: the locale's decimal separator for '.'.
QString WithLocalePoint(QString text);
