#include "EntryChecks.h"

namespace {

constexpr int kLowestFilterConstant = 2;
constexpr int kHighestFilterConstant = 25;

bool IsHexDigit(QChar c) {
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('F')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('f'));
}

} // namespace

std::optional<int> FirstBadRegister(const QStringList& registers) {
    for (int i = 0; i < registers.size(); ++i) {
        const QString& text = registers[i];
        if (text.size() != 2 || !IsHexDigit(text[0]) || !IsHexDigit(text[1])) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<int> FilterConstantValue(const QString& text) {
    const QString digits = text.trimmed();
    // Digits only: no sign, no point, no exponent, and never more than fits the field.
    if (digits.isEmpty() || digits.size() > 2) {
        return std::nullopt;
    }
    for (const QChar c : digits) {
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) {
            return std::nullopt;
        }
    }
    const int value = digits.toInt();
    if (value < kLowestFilterConstant || value > kHighestFilterConstant) {
        return std::nullopt;
    }
    return value;
}

QString RegisterName(int registerNumber) {
    return QStringLiteral("%1").arg(registerNumber, 2, 16, QLatin1Char('0')).toUpper();
}
