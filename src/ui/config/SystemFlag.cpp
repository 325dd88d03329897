#include "SystemFlag.h"

#include "protocol/PayloadNumbers.h"

namespace SystemFlagText {

std::optional<int> Value(const QString& text) {
    return protocol::ParseHex(text.toStdString());
}

QString Text(int value) {
    return QStringLiteral("%1").arg(value, 2, 16, QLatin1Char('0')).toUpper();
}

std::optional<QString> WithBit(const QString& text, int mask, bool on) {
    const std::optional<int> value = Value(text);
    if (!value) {
        return std::nullopt;
    }
    return Text(on ? (*value | mask) : (*value & ~mask));
}

} // namespace SystemFlagText
