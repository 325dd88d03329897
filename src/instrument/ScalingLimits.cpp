#include "ScalingLimits.h"

#include "NumberText.h"

#include <cmath>

namespace {

constexpr std::size_t kFieldWidth = 8;
constexpr int kDecimals = 4;

} // namespace

bool ScalingLimit::OutOfRange(double value) const {
    if (zeroPasses && value == 0.0) {
        return false;
    }
    return std::fabs(value - centre) > tolerance;
}

double ScalingLimit::NearerLimit(double value) const {
    return value > centre ? centre + tolerance : centre - tolerance;
}

const ScalingLimit& SlopeLimit() {
    static const ScalingLimit limit{"m", 1.0, 0.1, true,
                                    "m greater than 1.0 +/-0.1, set to limit!"};
    return limit;
}

const ScalingLimit& InterceptLimit() {
    static const ScalingLimit limit{"c", 0.0, 2.0, false, "c greater than 0.0 +/-2, set to limit!"};
    return limit;
}

std::optional<std::string> ScalingText(double value) {
    std::string text = FloatToFixed(value, 0, kDecimals);
    if (text.size() > kFieldWidth) {
        return std::nullopt;
    }
    return text;
}

Checked<std::string> CheckScaling(const ScalingLimit& limit, std::string_view text) {
    const std::string quoted = "\"" + std::string(text) + "\"";
    const std::optional<double> value = ParseFloat(text);
    if (!value) {
        return Checked<std::string>::Refused(limit.name + ": " + quoted + " is not a number.");
    }
    // Every value within a limit fits the field.
    std::optional<std::string> fitting = ScalingText(*value);
    if (limit.OutOfRange(*value) || !fitting) {
        return Checked<std::string>::Refused(limit.name + ": " + quoted + " is beyond " +
                                             FixedWithTenDigits(limit.centre, 1) + " +/-" +
                                             FixedWithTenDigits(limit.tolerance, 1) +
                                             (limit.zeroPasses ? " (0 is let through)." : "."));
    }
    return {std::move(fitting), {}};
}
