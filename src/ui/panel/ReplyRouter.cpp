#include "ReplyRouter.h"

#include "Windows1252.h"
#include "instrument/NumberText.h"
#include "instrument/SensorTypes.h"
#include "protocol/MessageCatalogue.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPanel, "vxxx.panel", QtWarningMsg)

namespace {

constexpr int kV420Width = 230;
constexpr int kV630Width = 620;

QString Text(const std::string& bytes) {
    return FromWindows1252(bytes);
}

// lUnit's five characters for the unit of the readings.
QString UnitLabel(ReadingUnit unit) {
    switch (unit) {
    case ReadingUnit::Celsius:
        return QStringLiteral(" \u00B0 C ");
    case ReadingUnit::Fahrenheit:
        return QStringLiteral(" \u00B0 F ");
    case ReadingUnit::Millivolts:
        return QStringLiteral("  mV ");
    case ReadingUnit::Ohms:
        break;
    }
    return QStringLiteral("  R  ");
}

// The major version digit, 0 when the version does not start with a digit.
int MajorVersion(const QString& version) {
    return !version.isEmpty() && version[0].isDigit() ? version[0].digitValue() : 0;
}

} // namespace

ReplyRouter::ReplyRouter(PanelState& state, PanelWindows& windows)
    : state_(state), windows_(windows) {}

void ReplyRouter::OnReadings(const std::string& payload) {
    ShowReadings(0, payload, &ReadingsReply::ReadingText);
}

void ReplyRouter::OnResistanceReadings(const std::string& payload) {
    ShowReadings(1, payload, &ResistanceReply::ReadingText);
}

void ReplyRouter::ShowReadings(int firstChannel, const std::string& payload,
                               std::string (*field)(std::string_view, int)) {
    MainDisplay* display = windows_.mainDisplay;
    if (display != nullptr && display->PcLogging()) {
        display->SetNewReading();
    }
    const std::optional<ReadingUnit> unit = ReadingsReply::Unit(payload);
    if (!unit) {
        return;
    }
    if (display != nullptr) {
        display->ShowUnit(UnitLabel(*unit));
    }
    std::array<float, ReadingHistory::kChannels> values{};
    for (int channel = firstChannel; channel <= ReadingHistory::kChannels; ++channel) {
        const std::string text = field(payload, channel);
        if (windows_.mainDisplay != nullptr) {
            windows_.mainDisplay->ShowReading(channel, Text(text));
        }
        if (channel >= 1) {
            values[channel - 1] = static_cast<float>(TextToFloat(text));
        }
    }
    state_.History.Append(values);
    ++state_.ReadingsReceived;
    if (!firstReadingShown_) {
        firstReadingShown_ = true;
        qCInfo(lcPanel) << "first reading shown";
    }
}

void ReplyRouter::OnStatus(const std::string& payload) {
    if (windows_.configuration != nullptr) {
        windows_.configuration->ApplyStatus({
            Text(StatusReply::DateText(payload)),
            Text(StatusReply::TimeText(payload)),
            Text(StatusReply::SystemFlagText(payload)),
            StatusReply::AutoscanInterval(payload),
            StatusReply::LoggedRecordCount(payload),
            StatusReply::LoggingInterval(payload),
        });
    }
    state_.InputMode = StatusReply::Inputs(payload);
    state_.ModelName = Text(StatusReply::ModelName(payload));
    state_.FirmwareVersion = Text(StatusReply::FirmwareVersion(payload));
    if (windows_.configuration != nullptr) {
        if (state_.InstrumentModel() == Model::V420) {
            windows_.configuration->ShowModelLayout(kV420Width,
                                                    MajorVersion(state_.FirmwareVersion) > 1);
        } else if (state_.InstrumentModel() == Model::V630) {
            windows_.configuration->ShowModelLayout(kV630Width, true);
        }
    }
    if (windows_.mainDisplay != nullptr) {
        windows_.mainDisplay->AdaptToStatus(state_.ModelName + QStringLiteral(" Control Panel - ") +
                                            Text(StatusReply::Caption(payload)));
    }
    if (windows_.calibration != nullptr) {
        windows_.calibration->Restart();
    }
    if (windows_.channel != nullptr) {
        windows_.channel->SetSensorType();
    }
}

void ReplyRouter::OnOutputStates(const std::string& payload) {
    const auto states = OutputStatesReply::States(payload);
    if (states && windows_.mainDisplay != nullptr) {
        windows_.mainDisplay->ShowOutputStates(static_cast<unsigned>(*states));
    }
}

void ReplyRouter::OnChannelConfiguration(const std::string& payload) {
    const auto channel = ChannelConfigurationReply::Channel(payload);
    const auto typeCode = ChannelConfigurationReply::SensorType(payload);
    if (!channel || !typeCode) {
        return;
    }
    const QString m = Text(ChannelConfigurationReply::ScalingM(payload));
    const QString c = Text(ChannelConfigurationReply::ScalingC(payload));
    if (windows_.channel != nullptr) {
        windows_.channel->ApplyChannelReply(*channel, *typeCode, m, c);
    }
    if (windows_.calibration != nullptr) {
        // The calibration window names the type as the inputs' list does.
        const std::string type = SensorTypeName(*typeCode, state_.InputMode, 1);
        windows_.calibration->ApplyChannelReply(*channel, *typeCode, FromWindows1252(type), m, c);
    }
}

void ReplyRouter::OnAlarmOutput(const std::string& payload) {
    if (windows_.configuration != nullptr) {
        windows_.configuration->ShowAlarmOutput(AlarmOutputReply::Setting(payload));
    }
}

void ReplyRouter::OnRegisters(const std::string& payload) {
    if (windows_.engineering == nullptr) {
        return;
    }
    QStringList registers;
    for (int k = 0; k < RegistersReply::kRegisterCount; ++k) {
        registers.append(Text(RegistersReply::RegisterText(payload, k)));
    }
    windows_.engineering->ShowRegisters(registers);
}

void ReplyRouter::OnFilterConstant(const std::string& payload) {
    if (windows_.engineering == nullptr) {
        return;
    }
    std::optional<bool> sixtyHertz;
    if (const auto mains = FilterConstantReply::MainsFlag(payload)) {
        sixtyHertz = *mains == FilterConstantReply::kSixtyHertz;
    }
    windows_.engineering->ShowFilterConstant(Text(FilterConstantReply::ConstantText(payload)),
                                             sixtyHertz);
}

void ReplyRouter::OnSerialNumber(const std::string& payload) {
    if (windows_.calibration != nullptr) {
        windows_.calibration->ShowSerialNumber(Text(SerialNumberReply::SerialNumber(payload)));
    }
}
