// The reply handlers that DispatchReply selects: readings, status, output states, and the
// replies that fill the other windows.
#include "Main.h"
#include "NumberText.h"
#include "Windows1252.h"
#include "protocol/MessageCatalogue.h"
#include "ui/calibration/Calibration.h"
#include "ui/channel/uChannel.h"
#include "ui/config/Config.h"
#include "ui/engineering/Engineering.h"
#include "ui_Main.h"

#include <QLoggingCategory>

Q_LOGGING_CATEGORY(lcPanel, "vxxx.panel", QtWarningMsg)

namespace {

constexpr int kMilliVoltRCaption = 0x20;

QString Text(const std::string& bytes) {
    return FromWindows1252(bytes);
}

// The major version digit, 0 when the version does not start with a digit.
int MajorVersion(const QString& version) {
    return !version.isEmpty() && version[0].isDigit() ? version[0].digitValue() : 0;
}

} // namespace

void TForm1::ShowUnit(const std::string& unitText) {
    ui->lUnit->setText(Text(unitText));
}

void TForm1::OnReadings(const std::string& payload) {
    for (int channel = 0; channel < ChannelDisplays::kChannels; ++channel) {
        displays_.ShowReading(channel, Text(ReadingsReply::ReadingText(payload, channel)));
    }
    RecordReadings();
}

void TForm1::OnResistanceReadings(const std::string& payload) {
    for (int channel = 1; channel < ChannelDisplays::kChannels; ++channel) {
        displays_.ShowReading(channel, Text(ResistanceReply::ReadingText(payload, channel)));
    }
    RecordReadings();
}

void TForm1::RecordReadings() {
    std::array<float, ReadingHistory::kChannels> values{};
    for (int channel = 1; channel <= ReadingHistory::kChannels; ++channel) {
        values[channel - 1] = static_cast<float>(displays_.ReadingValue(channel));
    }
    history_.Append(values);
    if (!firstReadingShown_) {
        firstReadingShown_ = true;
        qCInfo(lcPanel) << "first reading shown";
    }
}

void TForm1::OnStatus(const std::string& payload) {
    windows_.configuration->ApplyStatus({
        Text(StatusReply::DateText(payload)),
        Text(StatusReply::TimeText(payload)),
        Text(StatusReply::SystemFlagText(payload)),
        StatusReply::AutoscanInterval(payload),
        StatusReply::LoggedRecordCount(payload),
        StatusReply::LoggingInterval(payload),
    });
    inputMode_ = (StatusReply::SystemFlags(payload) & SystemFlag::kResistanceInputs) ? 'P' : 'T';
    modelName_ = Text(StatusReply::ModelName(payload));
    firmwareVersion_ = Text(StatusReply::FirmwareVersion(payload));
    AdaptToModel();
    setWindowTitle(modelName_ + QStringLiteral(" Control Panel - ") +
                   Text(StatusReply::Caption(payload)));
    AdaptToInputMode();
    windows_.calibration->bRestartClick();
    windows_.channel->SetSensorType(*inputMode_);
}

void TForm1::AdaptToModel() {
    if (modelName_ == QLatin1String("V420")) {
        windows_.configuration->ShowModelLayout(230, MajorVersion(firmwareVersion_) > 1);
        displays_.ShowBothLeds(false);
    } else if (modelName_ == QLatin1String("V630")) {
        windows_.configuration->ShowModelLayout(620, true);
        // Until the next output states reply leaves one of the two.
        displays_.ShowBothLeds(true);
    }
}

void TForm1::AdaptToInputMode() {
    if (inputMode_ == 'P') {
        ui->rbMilliVolt->setText(QStringLiteral("Resistance"));
        ui->rbLead->show();
    } else {
        ui->rbMilliVolt->setText((diagnosticLevel_ & kMilliVoltRCaption)
                                     ? QStringLiteral("MilliVolt/R")
                                     : QStringLiteral("MilliVolt"));
        ui->rbLead->hide();
    }
}

void TForm1::OnOutputStates(const std::string& payload) {
    if (const auto states = OutputStatesReply::States(payload)) {
        displays_.ShowOutputStates(static_cast<unsigned>(*states));
    }
}

void TForm1::OnChannelConfiguration(const std::string& payload) {
    const auto channel = ChannelConfigurationReply::Channel(payload);
    const auto typeCode = ChannelConfigurationReply::SensorType(payload);
    if (!channel || !typeCode) {
        return;
    }
    const QString m = Text(ChannelConfigurationReply::ScalingM(payload));
    const QString c = Text(ChannelConfigurationReply::ScalingC(payload));
    windows_.channel->ApplyChannelReply(*channel, *typeCode, m, c);
    windows_.calibration->ApplyChannelReply(*channel, *typeCode,
                                            windows_.channel->SensorTypeName(*typeCode), m, c);
}

void TForm1::OnAlarmOutput(const std::string& payload) {
    windows_.configuration->ShowAlarmOutput(AlarmOutputReply::Setting(payload));
}

void TForm1::OnLoggedRecord(const std::string& payload) {
    windows_.configuration->StoreLoggedRecord(payload);
}

void TForm1::OnRegisters(const std::string& payload) {
    QStringList registers;
    for (int k = 0; k < RegistersReply::kRegisterCount; ++k) {
        registers.append(Text(RegistersReply::RegisterText(payload, k)));
    }
    windows_.engineering->ShowRegisters(registers);
}

void TForm1::OnFilterConstant(const std::string& payload) {
    windows_.engineering->ShowFilterConstant(Text(FilterConstantReply::ConstantText(payload)));
    if (const auto mains = FilterConstantReply::MainsFlag(payload)) {
        windows_.engineering->ShowSixtyHertz(*mains == FilterConstantReply::kSixtyHertz);
    }
}

void TForm1::OnSerialNumber(const std::string& payload) {
    windows_.calibration->ShowSerialNumber(Text(SerialNumberReply::SerialNumber(payload)));
}
