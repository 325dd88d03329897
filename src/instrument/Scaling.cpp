#include "Scaling.h"

#include "instrument/NumberText.h"
#include "protocol/RequestBuilders.h"

#include <cmath>

namespace Scaling {

namespace {

constexpr int kFieldWidth = 8;
constexpr int kDecimals = 4;

} // namespace

std::optional<Correction> FromReadings(float zeroReference, float spanReference, float zero,
                                       float span) {
    const float reach = span - zero;
    if (reach == 0.0f) {
        return std::nullopt;
    }
    const float m = (spanReference - zeroReference) / reach;
    const float c = zeroReference - m * zero;
    if (!std::isfinite(m) || !std::isfinite(c)) {
        return std::nullopt;
    }
    return Correction{m, c};
}

std::string LabelText(float value) {
    return " " + FloatToFixed(value, kFieldWidth, kDecimals);
}

bool MOutOfRange(float m) {
    return std::fabs(m - 1.0f) > kMLimit;
}

bool COutOfRange(float c) {
    return std::fabs(c) > kCLimit;
}

float MToSend(float m) {
    return MOutOfRange(m) ? 1.0f : m;
}

float CToSend(float c) {
    return COutOfRange(c) ? 0.0f : c;
}

std::string MOutOfRangeMessage() {
    return "m greater than 1.0 +/-" + FloatToFixed(kMLimit, kFieldWidth, kDecimals) +
           ", set to 1.000!";
}

std::string COutOfRangeMessage() {
    return "c greater than 0.0 +/-" + FloatToFixed(kCLimit, kFieldWidth, kDecimals) +
           ", set to 0.000!";
}

std::string SendField(float value) {
    return protocol::ScalingField(FloatToFixed(value, 0, kDecimals));
}

} // namespace Scaling
