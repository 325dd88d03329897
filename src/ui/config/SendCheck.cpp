#include "SendCheck.h"

#include "instrument/SendChecks.h"
#include "ui/panel/Windows1252.h"

std::optional<SendRefusal> CheckBeforeSending(const ConfigurationTexts& texts) {
    const struct {
        ConfigurationField field;
        Checked<std::string> checked;
    } checks[] = {
        {ConfigurationField::Date, CheckDate(ToWindows1252(texts.date))},
        {ConfigurationField::Time, CheckTime(ToWindows1252(texts.time))},
        {ConfigurationField::SystemFlag, CheckSystemFlag(ToWindows1252(texts.systemFlag))},
        {ConfigurationField::AutoScanInterval,
         CheckIntervalField("Auto Scan Interval", ToWindows1252(texts.autoScanInterval), 0xFF)},
        {ConfigurationField::LoggingInterval,
         CheckIntervalField("Logging Interval", ToWindows1252(texts.loggingInterval), 0xFFFF)},
    };
    for (const auto& check : checks) {
        if (!check.checked) {
            return SendRefusal{check.field, FromWindows1252(check.checked.refusal)};
        }
    }
    return std::nullopt;
}
