#pragma once

#include <QString>
#include <optional>

// The texts of the configuration window that the "S" request takes by position.
struct ConfigurationTexts {
    QString date;       // "dd/mm/yy"
    QString time;       // "hh:mm:ss"
    QString systemFlag; // two hexadecimal digits
    QString autoScanInterval;
    QString loggingInterval;
};

// The field a refusal names, so the window can put the operator back on it.
enum class ConfigurationField { Date, Time, SystemFlag, AutoScanInterval, LoggingInterval };

struct SendRefusal {
    ConfigurationField field;
    QString message;
};

// Why these texts must not go to the instrument, or nothing when they may: the date, the time,
// the flag and the two intervals by the checks of instrument/SendChecks.h, in this order. An
// interval that is not a number at all is left to the request, which sends its default.
std::optional<SendRefusal> CheckBeforeSending(const ConfigurationTexts& texts);
