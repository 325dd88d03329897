#include "ScalingLimits.h"

#include "ui/panel/NumberText.h"

#include <QLocale>
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
    static const ScalingLimit limit{1.0, 0.1, true,
                                    QStringLiteral("m greater than 1.0 +/-0.1, set to limit!")};
    return limit;
}

const ScalingLimit& InterceptLimit() {
    static const ScalingLimit limit{0.0, 2.0, false,
                                    QStringLiteral("c greater than 0.0 +/-2, set to limit!")};
    return limit;
}

std::optional<std::string> ScalingText(double value) {
    std::string text = FloatToFixed(value, 0, kDecimals);
    if (text.size() > kFieldWidth) {
        return std::nullopt;
    }
    return text;
}

QString WithLocalePoint(QString text) {
    return text.replace(QLatin1Char('.'), QLocale().decimalPoint());
}
