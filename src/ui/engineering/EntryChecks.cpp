#include "EntryChecks.h"

#include "protocol/PayloadNumbers.h"

namespace {

constexpr int kLowestFilterConstant = 2;
constexpr int kHighestFilterConstant = 25;

} // namespace

std::optional<int> FirstBadRegister(const QStringList& registers) {
    for (int i = 0; i < registers.size(); ++i) {
        const QString& text = registers[i];
        // ParseHex lets a leading blank pass; a register is two digits and nothing else.
        if (text.size() != 2 || text[0] == QLatin1Char(' ') || !ParseHex(text.toStdString())) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<int> FilterConstantValue(const QString& text) {
    const std::string digits = text.trimmed().toStdString();
    // Digits only (ParseDecimal lets a sign pass), and never more than fits the field.
    if (digits.empty() || digits.size() > 2 || digits[0] < '0' || digits[0] > '9') {
        return std::nullopt;
    }
    const std::optional<int> value = ParseDecimal(digits);
    if (!value || *value < kLowestFilterConstant || *value > kHighestFilterConstant) {
        return std::nullopt;
    }
    return value;
}

QString RegisterName(int registerNumber) {
    return QStringLiteral("%1").arg(registerNumber, 2, 16, QLatin1Char('0')).toUpper();
}
