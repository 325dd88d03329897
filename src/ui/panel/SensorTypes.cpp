#include "SensorTypes.h"

QStringList SensorTypeList(std::optional<char> inputMode, int channel) {
    if (inputMode == 'P' || channel == 0) {
        return {QStringLiteral("PT100")};
    }
    return {QStringLiteral("J"), QStringLiteral("K"), QStringLiteral("T"), QStringLiteral("E"),
            QStringLiteral("N"), QStringLiteral("R"), QStringLiteral("S"), QStringLiteral("B")};
}

bool IsSensorTypeCode(int code, std::optional<char> inputMode, int channel) {
    return code >= 0 && code < SensorTypeList(inputMode, channel).size();
}

QString SensorTypeName(int code, std::optional<char> inputMode) {
    return SensorTypeList(inputMode, 1).value(code);
}
