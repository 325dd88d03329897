#include "SensorTypes.h"

QStringList SensorTypeList(std::optional<InputFamily> inputs, int channel) {
    if (inputs == InputFamily::Resistance || channel == 0) {
        return {QStringLiteral("PT100")};
    }
    return {QStringLiteral("J"), QStringLiteral("K"), QStringLiteral("T"), QStringLiteral("E"),
            QStringLiteral("N"), QStringLiteral("R"), QStringLiteral("S"), QStringLiteral("B")};
}

bool IsSensorTypeCode(int code, std::optional<InputFamily> inputs, int channel) {
    return code >= 0 && code < SensorTypeList(inputs, channel).size();
}

QString SensorTypeName(int code, std::optional<InputFamily> inputs) {
    return SensorTypeList(inputs, 1).value(code);
}
