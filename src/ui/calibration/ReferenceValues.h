#pragma once

#include "base/SettingsStore.h"

#include <QString>

// The known signals connected for the zero and span points, one pair per kind of input:
// thermocouple inputs (mV), resistance-thermometer inputs and the cold junction (ohms). Kept in
// section "Control" of the settings.
struct ReferenceValues {
    enum class Inputs { Thermocouple, Resistance, ColdJunction };

    QString tcZero = QStringLiteral("0.000");
    QString tcSpan = QStringLiteral("20.000");
    QString rtZero = QStringLiteral("100.00");
    QString rtSpan = QStringLiteral("360.58");
    QString cjZero = QStringLiteral("100.00");
    QString cjSpan = QStringLiteral("114.00");

    // The zero or the span reference of those inputs.
    QString& Point(Inputs inputs, bool zero);

    // A value missing or unreadable keeps its default.
    static ReferenceValues Read(SettingsStore& settings);
    // Throws SettingsStoreError.
    void Write(SettingsStore& settings) const;
};

// A reference is used as a number with '.' whatever the locale, as ParseFloat reads it (leading
// blanks, a sign, digits with an optional fraction and exponent); any other text, a comma
// included, is refused.
bool IsReferenceNumber(const QString& text);
