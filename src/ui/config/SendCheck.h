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

// Why these texts must not go to the instrument, or nothing when they may. The date and the
// time must be eight characters whose digit pairs at 1-2, 4-5 and 7-8 form a real day, month
// and year (20yy), or a real 24-hour time; the flag two hexadecimal digits; an interval that is
// a decimal number must fit its hexadecimal field (2 and 4 digits). An interval that is not a
// number at all is left to the request, which sends its default.
std::optional<SendRefusal> CheckBeforeSending(const ConfigurationTexts& texts);
