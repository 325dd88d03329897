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
QString UnitLabel(protocol::ReadingUnit unit) {
    switch (unit) {
    case protocol::ReadingUnit::Celsius:
        return QStringLiteral(" \u00B0 C ");
    case protocol::ReadingUnit::Fahrenheit:
        return QStringLiteral(" \u00B0 F ");
    case protocol::ReadingUnit::Millivolts:
        return QStringLiteral("  mV ");
    case protocol::ReadingUnit::Ohms:
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
    ShowReadings(payload);
}

void ReplyRouter::OnResistanceReadings(const std::string& payload) {
    ShowReadings(payload);
}

void ReplyRouter::ShowReadings(const std::string& payload) {
    MainDisplay* display = windows_.mainDisplay;
    if (display != nullptr && display->PcLogging()) {
        display->SetNewReading();
    }
    const std::optional<protocol::Readings> readings = protocol::ReadingsReply::Decode(payload);
    if (!readings) {
        return;
    }
    if (display != nullptr) {
        display->ShowUnit(UnitLabel(readings->unit));
    }
    std::array<float, ReadingHistory::kChannels> values{};
    for (int channel = readings->hasColdJunction ? 0 : 1; channel <= ReadingHistory::kChannels;
         ++channel) {
        const std::string& text = readings->texts[static_cast<std::size_t>(channel)];
        if (windows_.mainDisplay != nullptr) {
            windows_.mainDisplay->ShowReading(channel, Text(text));
        }
        if (channel >= 1) {
            values[channel - 1] = static_cast<float>(TextToFloat(text));
        }
    }
    state_.History.Append(values);
    ++state_.ReadingsReceived;
    if (observer_ != nullptr) {
        observer_->ReadingsReceived(*readings);
    }
    if (!firstReadingShown_) {
        firstReadingShown_ = true;
        qCInfo(lcPanel) << "first reading shown";
    }
}

void ReplyRouter::OnStatus(const std::string& payload) {
    const protocol::InstrumentStatus status = protocol::StatusReply::Decode(payload);
    if (windows_.configuration != nullptr) {
        windows_.configuration->ApplyStatus(status);
    }
    state_.InputMode = status.inputs;
    state_.ModelName = Text(status.modelName);
    state_.FirmwareVersion = Text(status.firmware);
    if (windows_.configuration != nullptr) {
        if (status.model == protocol::Model::V420) {
            windows_.configuration->ShowModelLayout(kV420Width,
                                                    MajorVersion(state_.FirmwareVersion) > 1);
        } else if (status.model == protocol::Model::V630) {
            windows_.configuration->ShowModelLayout(kV630Width, true);
        }
    }
    if (windows_.mainDisplay != nullptr) {
        windows_.mainDisplay->AdaptToStatus(state_.ModelName + QStringLiteral(" Control Panel - ") +
                                            Text(status.caption));
    }
    if (windows_.calibration != nullptr) {
        windows_.calibration->Restart();
    }
    if (windows_.channel != nullptr) {
        windows_.channel->SetSensorType();
    }
    if (observer_ != nullptr) {
        observer_->StatusReceived(status);
    }
}

void ReplyRouter::OnOutputStates(const std::string& payload) {
    const auto states = protocol::OutputStatesReply::States(payload);
    if (states && windows_.mainDisplay != nullptr) {
        windows_.mainDisplay->ShowOutputStates(static_cast<unsigned>(*states));
    }
}

void ReplyRouter::OnChannelConfiguration(const std::string& payload) {
    const auto channel = protocol::ChannelConfigurationReply::Channel(payload);
    const auto typeCode = protocol::ChannelConfigurationReply::SensorType(payload);
    if (!channel || !typeCode) {
        return;
    }
    const QString m = Text(protocol::ChannelConfigurationReply::ScalingM(payload));
    const QString c = Text(protocol::ChannelConfigurationReply::ScalingC(payload));
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
        windows_.configuration->ShowAlarmOutput(protocol::AlarmOutputReply::Setting(payload));
    }
}

void ReplyRouter::OnRegisters(const std::string& payload) {
    if (windows_.engineering == nullptr) {
        return;
    }
    QStringList registers;
    for (int k = 0; k < protocol::RegistersReply::kRegisterCount; ++k) {
        registers.append(Text(protocol::RegistersReply::RegisterText(payload, k)));
    }
    windows_.engineering->ShowRegisters(registers);
}

void ReplyRouter::OnFilterConstant(const std::string& payload) {
    if (windows_.engineering == nullptr) {
        return;
    }
    std::optional<bool> sixtyHertz;
    if (const auto mains = protocol::FilterConstantReply::MainsFlag(payload)) {
        sixtyHertz = *mains == protocol::FilterConstantReply::kSixtyHertz;
    }
    windows_.engineering->ShowFilterConstant(
        Text(protocol::FilterConstantReply::ConstantText(payload)), sixtyHertz);
}

void ReplyRouter::OnSerialNumber(const std::string& payload) {
    if (windows_.calibration != nullptr) {
        windows_.calibration->ShowSerialNumber(
            Text(protocol::SerialNumberReply::SerialNumber(payload)));
    }
}
