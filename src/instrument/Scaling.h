#pragma once

#include <optional>
#include <string>

// The numbers of a two-point calibration, all in single precision: the new slope m and offset c
// of a channel from its zero and span readings, and the range Send holds them to.
namespace Scaling {

struct Correction {
    float m = 1.0f;
    float c = 0.0f;
};

// m = (spanReference - zeroReference) / (span - zero), c = zeroReference - m * zero. Nothing
// when the span reading equals the zero reading: there is no slope to take.
std::optional<Correction> FromReadings(float zeroReference, float spanReference, float zero,
                                       float span);

// How a computed m or c shows in its label: a blank and the value with four decimals in eight
// characters (nine characters in all).
std::string LabelText(float value);

// Send holds m within 1.0 +/- kMLimit and c within 0.0 +/- kCLimit; a value beyond is sent as
// 1.0 and 0.0.
inline constexpr float kMLimit = 0.1f;
inline constexpr float kCLimit = 2.0f;
bool MOutOfRange(float m);
bool COutOfRange(float c);
float MToSend(float m);
float CToSend(float c);
// What Send tells the operator once when any m or c is beyond its limit.
std::string MOutOfRangeMessage();
std::string COutOfRangeMessage();

// The eight-character field Send writes into the label and the request: the value with four
// decimals, right-aligned with blanks (ScalingField).
std::string SendField(float value);

} // namespace Scaling
