#include "protocol/RequestBuilders.h"

#include <gtest/gtest.h>

using namespace protocol;

namespace {

TEST(StatusRequest, FieldsTakenFromTheTextsByPosition) {
    StatusRequestTexts texts{"07/12/26", "14:05:09", "11", "2", "3600"};
    EXPECT_EQ(StatusRequest(texts), "S26120714050911020E10");
    texts.autoscanInterval = "10";
    texts.loggingInterval = "5";
    EXPECT_EQ(StatusRequest(texts), "S261207140509110A0005");
    texts.autoscanInterval = "two";
    texts.loggingInterval = "";
    EXPECT_EQ(StatusRequest(texts), "S2612071405091102003C");
    texts.systemFlag = "1";
    EXPECT_EQ(StatusRequest(texts), "S2612071405091"
                                    "02003C");
    texts.date = "7/12";
    EXPECT_EQ(StatusRequest(texts), "S27/140509102003C");
    texts.autoscanInterval = "300";
    EXPECT_EQ(StatusRequest(texts), "S27/1405091"
                                    "12C003C");
}

TEST(AlarmOutputRequest, ThirtyCharactersOfFixedFields) {
    EXPECT_EQ(AlarmOutputRequest({1, 0, 1, 20, 1, 1, 0}), "A01,00,01,   20,    1,    1,00");
    const std::string written = AlarmOutputRequest({3, 4, 8, -1234, 123456, -12345, 1});
    EXPECT_EQ(written, "A03,04,08,-1234,23456,12345,01");
    EXPECT_EQ(written.size(), 30u);
    const AlarmOutputSetting setting{8, 3, 2, -999, 0, 99999, 1};
    EXPECT_EQ(AlarmOutputReply::Setting(AlarmOutputRequest(setting) + "\x03k"), setting);
}

TEST(ExtendedPolls, WholeFramesWithLeadingZeros) {
    EXPECT_EQ(AlarmOutputPoll(2), "\x04\x41\x30\x32\x05");
    EXPECT_EQ(AlarmOutputPoll(8), "\x04"
                                  "A08\x05");
    EXPECT_EQ(LoggedRecordPoll(7), "\x04"
                                   "D0007\x05");
    EXPECT_EQ(LoggedRecordPoll(512), "\x04"
                                     "D0512\x05");
    EXPECT_EQ(LoggedRecordPoll(12345), "\x04"
                                       "D2345\x05");
    EXPECT_EQ(Poll::Channel(3), '3');
}

TEST(ChannelRequests, ScalingFieldsAreTheLastEightCharacters) {
    EXPECT_EQ(ChannelRequest(3, 1, "1.0500", "-0.2500"), "C301  1.0500 -0.2500");
    EXPECT_EQ(ChannelRequest(3, -1, "1.0500", "-0.2500"), "C30-1  1.0500 -0.2500");
    EXPECT_EQ(ChannelRequest(8, 7, "0.0000", "-125.5000"), "C807  0.0000125.5000");
    EXPECT_EQ(ScalingField("1,0500"), "  1,0500"); // the channel window's locale text as it is

    const std::string calibration = CalibrationRequest(3, 1, "0.9980", "-0.0120");
    EXPECT_EQ(calibration, "C301  0.9980 -0.0120!");
    EXPECT_EQ(calibration.size(), 21u);
    EXPECT_EQ(CalibrationResetRequest(2, 1), "C201  0.0000  0.0000");
    EXPECT_EQ(CalibrationResetRequest(5, 0), "C500  0.0000  0.0000");
}

TEST(OtherRequests, SerialRegistersAndFilter) {
    EXPECT_EQ(SerialNumberRequest("AB12"), "ZAB12");
    EXPECT_EQ(SerialNumberRequest(""), std::nullopt);

    std::array<std::string, 32> registers;
    registers.fill("3C");
    EXPECT_EQ(RegisterWriteRequest(registers).size(), 65u);
    registers[0] = "";
    registers[1] = "A";
    registers[31] = "--";
    const std::string written = RegisterWriteRequest(registers);
    EXPECT_EQ(written.substr(0, 4), "XA3C");
    EXPECT_EQ(written.substr(written.size() - 4), "3C--");

    EXPECT_EQ(FilterConstantRequest("5", true), "f0501");
    EXPECT_EQ(FilterConstantRequest("25", false), "f2500");
    EXPECT_EQ(FilterConstantRequest("125", true), "f2501");
    EXPECT_EQ(FilterConstantRequest("", false), "f0000");
}

} // namespace
