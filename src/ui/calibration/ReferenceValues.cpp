#include "ReferenceValues.h"

#include "instrument/NumberText.h"
#include "ui/panel/Windows1252.h"

namespace {

const std::string kControl = "Control";

struct Entry {
    const char* name;
    QString ReferenceValues::*value;
};

// clang-format off
constexpr Entry kEntries[] = {
    {"Calibrate TC zero", &ReferenceValues::tcZero},
    {"Calibrate TC span", &ReferenceValues::tcSpan},
    {"Calibrate RT zero", &ReferenceValues::rtZero},
    {"Calibrate RT span", &ReferenceValues::rtSpan},
    {"Calibrate CJ zero", &ReferenceValues::cjZero},
    {"Calibrate CJ span", &ReferenceValues::cjSpan},
};
// clang-format on

} // namespace

QString& ReferenceValues::Point(Inputs inputs, bool zero) {
    switch (inputs) {
    case Inputs::Resistance:
        return zero ? rtZero : rtSpan;
    case Inputs::ColdJunction:
        return zero ? cjZero : cjSpan;
    case Inputs::Thermocouple:
        break;
    }
    return zero ? tcZero : tcSpan;
}

ReferenceValues ReferenceValues::Read(SettingsStore& settings) {
    ReferenceValues values;
    for (const Entry& entry : kEntries) {
        QString& value = values.*entry.value;
        value =
            QString::fromStdString(ReadText(settings, kControl, entry.name, value.toStdString()));
    }
    return values;
}

void ReferenceValues::Write(SettingsStore& settings) const {
    for (const Entry& entry : kEntries) {
        settings.WriteValue(kSettingsKey, kControl, entry.name, (this->*entry.value).toStdString());
    }
}

bool IsReferenceNumber(const QString& text) {
    return ParseFloat(ToWindows1252(text)).has_value();
}
