#include "protocol/MessageCatalogue.h"
#include "protocol/PayloadNumbers.h"

#include <gtest/gtest.h>

using namespace protocol;

namespace {

const std::string kEnd = "\x03"
                         "k"; // ETX and a check byte, as the handlers receive them

TEST(PayloadNumbers, DecimalAndHexTexts) {
    struct Case {
        std::string text;
        std::optional<int> decimal;
        std::optional<int> hex;
    };
    const std::optional<int> none;
    const Case cases[] = {
        {"12", 12, 0x12},
        {"07", 7, 7},
        {"   20", 20, 0x20},
        {"-1234", -1234, none},
        {"+5", 5, none},
        {"1F", none, 0x1F},
        {"1f", none, 0x1F},
        {"", none, none},
        {"  ", none, none},
        {"1 ", none, none},
        {"0x1", none, none},
        {"--1", none, none},
        {"- 1", none, none},
        {"+", none, none},
        {"\x03k", none, none},
        {"2147483647", 2147483647, none},
        {"2147483648", none, none},
        {"-2147483648", -2147483647 - 1, none},
        {"7FFFFFFF", none, 0x7FFFFFFF},
        {"80000000", 80000000, none},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ParseDecimal(c.text), c.decimal) << '"' << c.text << '"';
        EXPECT_EQ(ParseHex(c.text), c.hex) << '"' << c.text << '"';
    }
}

TEST(PayloadNumbers, FieldsCutShortByThePayload) {
    EXPECT_EQ(PayloadField::Text("O1", 2, 2), "1");
    EXPECT_EQ(PayloadField::Text("O1", 3, 2), "");
    EXPECT_EQ(PayloadField::Text("O1", 0, 2), "");
    EXPECT_EQ(PayloadField::Hex("O1", 2, 2), std::nullopt);
    EXPECT_EQ(PayloadField::Hex("O1F", 2, 2), 0x1F);
    EXPECT_EQ(PayloadField::Decimal("f05", 4, 2), std::nullopt);
    EXPECT_EQ(PayloadField::Decimal("f0501", 4, 2), 1);
}

TEST(StatusReply, FieldsAtTheirPositions) {
    const std::string status = "S261207140509910A02000E10V630 2.1 build 42" + kEnd;
    EXPECT_EQ(StatusReply::DateText(status), "07/12/26");
    EXPECT_EQ(StatusReply::TimeText(status), "14:05:09");
    EXPECT_EQ(StatusReply::SystemFlagText(status), "91");
    EXPECT_EQ(StatusReply::SystemFlags(status), 0x91);
    EXPECT_EQ(StatusReply::AutoscanInterval(status), 10);
    EXPECT_EQ(StatusReply::LoggedRecordCount(status), 512);
    EXPECT_EQ(StatusReply::LoggingInterval(status), 3600);
    EXPECT_EQ(StatusReply::ModelName(status), "V630");
    EXPECT_EQ(StatusReply::FirmwareVersion(status), "2.1");
    EXPECT_EQ(StatusReply::Caption(status), "V630 2.1 build 42");
}

TEST(StatusReply, HexFieldsThatAreNotNumbersGiveTheirDefaults) {
    const std::string status = "S261207140509?!zzG000----V420 1.0" + kEnd;
    EXPECT_EQ(StatusReply::SystemFlagText(status), "?!");
    EXPECT_EQ(StatusReply::SystemFlags(status), 0);
    EXPECT_EQ(StatusReply::AutoscanInterval(status), 2);
    EXPECT_EQ(StatusReply::LoggedRecordCount(status), 512);
    EXPECT_EQ(StatusReply::LoggingInterval(status), 60);
    EXPECT_EQ(StatusReply::Caption(status), "V420 1.0\x03k");

    const std::string cut = "S2612";
    EXPECT_EQ(StatusReply::DateText(cut), "/12/26");
    EXPECT_EQ(StatusReply::ModelName(cut), "");
    EXPECT_EQ(StatusReply::LoggingInterval(cut), 60);
}

TEST(ReadingReplies, EightCharacterFieldsPerChannel) {
    std::string temperatures = "T";
    for (int i = 0; i <= 8; ++i) {
        temperatures += "  " + std::to_string(i) + "0.50 ";
    }
    temperatures += "01" + kEnd;
    EXPECT_EQ(ReadingsReply::ReadingText(temperatures, 0), "  00.50 ");
    EXPECT_EQ(ReadingsReply::ReadingText(temperatures, 8), "  80.50 ");
    EXPECT_EQ(ReadingsReply::ReadingText(temperatures, 9), "");
    EXPECT_EQ(ReadingsReply::ReadingText(temperatures, -1), "");
    EXPECT_EQ(ReadingsReply::UnitFlags(temperatures), 1);
    EXPECT_EQ(ReadingsReply::UnitFlags("T  21.5" + kEnd), std::nullopt);

    std::string resistances = "R";
    for (int i = 1; i <= 8; ++i) {
        resistances += " 1" + std::to_string(i) + "0.000";
    }
    resistances.resize(resistances.size() - 2); // the last field cut short
    resistances += kEnd;
    EXPECT_EQ(ResistanceReply::ReadingText(resistances, 1), " 110.000");
    EXPECT_EQ(ResistanceReply::ReadingText(resistances, 8), " 180.0\x03k");
    EXPECT_EQ(ResistanceReply::ReadingText(resistances, 0), "");
}

TEST(SmallReplies, OutputStatesRegistersFilterAndChannel) {
    EXPECT_EQ(OutputStatesReply::States("O81" + kEnd), 0x81);
    EXPECT_EQ(OutputStatesReply::States("O8" + kEnd), std::nullopt);

    std::string registers = "X";
    for (int k = 0; k < 32; ++k) {
        registers += k < 10 ? "0" + std::to_string(k) : std::to_string(k);
    }
    EXPECT_EQ(RegistersReply::RegisterText(registers, 0), "00");
    EXPECT_EQ(RegistersReply::RegisterText(registers, 31), "31");
    EXPECT_EQ(RegistersReply::RegisterText(registers, 32), "");

    EXPECT_EQ(FilterConstantReply::ConstantText("f0501" + kEnd), "05");
    EXPECT_EQ(FilterConstantReply::MainsFlag("f0501" + kEnd), FilterConstantReply::kSixtyHertz);
    EXPECT_EQ(FilterConstantReply::MainsFlag("f2500" + kEnd), 0);
    EXPECT_EQ(FilterConstantReply::MainsFlag("f25" + kEnd), std::nullopt);

    const std::string channel = "301  1.0500 -0.2500" + kEnd;
    EXPECT_EQ(ChannelConfigurationReply::Channel(channel), 3);
    EXPECT_EQ(ChannelConfigurationReply::SensorType(channel), 1);
    EXPECT_EQ(ChannelConfigurationReply::ScalingM(channel), "  1.0500");
    EXPECT_EQ(ChannelConfigurationReply::ScalingC(channel), " -0.2500");
    EXPECT_EQ(ChannelConfigurationReply::SensorType("3-" + kEnd), std::nullopt);
}

TEST(AlarmOutputReply, FieldsAndTheirDefaults) {
    const AlarmOutputSetting expected{3, 2, 5, -1234, 1, 12, 1};
    EXPECT_EQ(AlarmOutputReply::Setting("A03,02,05,-1234,    1,   12,01" + kEnd), expected);
    EXPECT_EQ(AlarmOutputReply::Setting("A??,xx,  ,12a45,     ,+    ,--" + kEnd),
              AlarmOutputSetting{});
    EXPECT_EQ(AlarmOutputReply::OutputNumber("A09"), 9);
    EXPECT_EQ(AlarmOutputReply::Polarity("A03,02,05,-1234,    1,   12,1"), 0); // cut short
}

TEST(LoggedRecordReply, RecordFieldsAndLoggedValues) {
    const std::string record = "D0007261207140509"
                               "0000C842000048C20000000012345600"
                               "0000803F000000C0zz00C8420000C8zz" +
                               kEnd;
    EXPECT_EQ(LoggedRecordReply::RecordNumberText(record), "0007");
    EXPECT_EQ(LoggedRecordReply::DateText(record), "07/12/26");
    EXPECT_EQ(LoggedRecordReply::TimeText(record), "14:05:09");
    const double values[] = {100, -50, 0, 0, 1, -2, 100, 0};
    for (int k = 1; k <= 8; ++k) {
        EXPECT_DOUBLE_EQ(LoggedRecordReply::ChannelValue(record, k), values[k - 1]) << k;
    }
    EXPECT_EQ(LoggedRecordReply::ChannelText(record, 8), "0000C8zz");
    EXPECT_EQ(LoggedRecordReply::ChannelText(record, 9), "");
    EXPECT_DOUBLE_EQ(LoggedRecordReply::DecodeValue("0000c842"), 100);
    EXPECT_DOUBLE_EQ(LoggedRecordReply::DecodeValue("0000C8"), 0); // cut short
    EXPECT_DOUBLE_EQ(LoggedRecordReply::DecodeValue("3333A341"), 20.4f);
    EXPECT_GT(LoggedRecordReply::DecodeValue("0000807F"), 1e38); // no special patterns
}

TEST(SerialNumberReply, DropsTheLastThreeCharacters) {
    EXPECT_EQ(SerialNumberReply::SerialNumber("Z20261207140509\r\x03k"), "20261207140509");
    EXPECT_EQ(SerialNumberReply::SerialNumber("ZA\r\x03k"), "A");
    EXPECT_EQ(SerialNumberReply::SerialNumber("Z\x03k"), "");
    EXPECT_EQ(SerialNumberReply::SerialNumber("Z"), "");
}

} // namespace
