#include "ReplyText.h"
#include "protocol/MessageCatalogue.h"
#include "sim/FieldText.h"
#include "sim/Responder.h"
#include "support/ManualClock.h"

#include <clocale>
#include <cmath>
#include <gtest/gtest.h>
#include <random>

using sim::DecodedFrame;

namespace {

class Instrument : public ::testing::Test {
protected:
    explicit Instrument(sim::InstrumentOptions options = {})
        : model_(options, clock_), responder_(model_) {}

    // The reply payload of a poll as the panel's handler receives it (ETX and BCC still on).
    std::string Poll(const std::string& body) {
        const auto answer = responder_.Answer({DecodedFrame::Kind::Poll, body});
        if (!answer) {
            return "";
        }
        const auto payload = PanelPayload(*answer);
        EXPECT_TRUE(payload.has_value()) << body;
        return payload.value_or("");
    }
    void Request(const std::string& payload) {
        const auto answer = responder_.Answer({DecodedFrame::Kind::Request, payload});
        ASSERT_TRUE(answer.has_value()) << payload;
        EXPECT_EQ(*answer, "\x06") << payload;
    }
    void Run(std::uint32_t milliseconds) {
        clock_.Advance(milliseconds);
        model_.Update();
    }

    ManualClock clock_;
    sim::InstrumentModel model_;
    sim::Responder responder_;
};

class ResistanceInstrument : public Instrument {
protected:
    ResistanceInstrument() : Instrument(Options()) {}
    static sim::InstrumentOptions Options() {
        sim::InstrumentOptions options;
        options.inputs = sim::InputFamily::Resistance;
        options.model = "V420";
        options.firmware = "1.4";
        return options;
    }
};

} // namespace

TEST_F(Instrument, StatusRequestSetsWhatTheStatusReplyShowsAtItsPositions) {
    Request("S26120714050911020E10");
    const std::string status = Poll("S");
    EXPECT_EQ(Field(status, 1, 1), "S");
    EXPECT_EQ(Field(status, 2, 13), "261207140509");
    EXPECT_EQ(Field(status, 14, 15), "11");
    EXPECT_EQ(Field(status, 16, 17), "02");
    EXPECT_EQ(Field(status, 18, 21), "0000");
    EXPECT_EQ(Field(status, 22, 25), "0E10");
    EXPECT_EQ(Field(status, 26, 29), "V630");
    EXPECT_EQ(Field(status, 31, 33), "2.1");
    EXPECT_EQ(Field(status, 26, 42), "V630 2.1 TC Input");
    EXPECT_EQ(Field(status, 43, 43), "\x03");

    Run(61'000); // the clock runs on
    EXPECT_EQ(Field(Poll("S"), 2, 13), "261207140610");

    // A one-character flag text moves the later fields one place left; a bad date is ignored.
    Request("S2613071405091020005");
    EXPECT_EQ(Field(Poll("S"), 2, 25), "261207140610"
                                       "01"
                                       "02"
                                       "0000"
                                       "0005");
}

TEST_F(ResistanceInstrument, StatusKeepsTheBuildsFlagAndShowsModelAndFirmware) {
    const std::string status = Poll("S");
    EXPECT_EQ(Field(status, 14, 15), "80");
    EXPECT_EQ(Field(status, 16, 17), "02");
    EXPECT_EQ(Field(status, 22, 25), "003C");
    EXPECT_EQ(Field(status, 26, 42), "V420 1.4 RT Input");
    Request("S26120714050901020E10"); // the panel cannot clear the resistance bit
    EXPECT_EQ(Field(Poll("S"), 14, 15), "81");
}

TEST_F(Instrument, ReadingRepliesHoldEightCharacterFieldsAtTheirPositions) {
    const std::string temperatures = Poll("T");
    ASSERT_EQ(temperatures.size(), 75u + 2);
    for (int channel = 0; channel <= 8; ++channel) {
        const std::string field = Field(temperatures, 2 + 8 * channel, 9 + 8 * channel);
        EXPECT_EQ(field.front(), ' ') << field; // right-aligned
        const auto value = sim::ParseNumber(field);
        ASSERT_TRUE(value.has_value()) << field;
        EXPECT_NEAR(*value, channel == 0 ? 25.0 : 21.0, 1.5) << channel;
    }
    EXPECT_EQ(Field(temperatures, 74, 75), "00");

    const std::string millivolts = Poll("M");
    ASSERT_EQ(millivolts.size(), 73u + 2);
    EXPECT_NEAR(*sim::ParseNumber(Field(millivolts, 2, 9)), 109.7, 0.6); // cold-junction ohms
    for (int channel = 1; channel <= 8; ++channel) {
        const auto value = sim::ParseNumber(Field(millivolts, 2 + 8 * channel, 9 + 8 * channel));
        ASSERT_TRUE(value.has_value());
        EXPECT_NEAR(*value, 0.0, 0.3); // a K input a few degrees below its cold junction
    }
    EXPECT_EQ(Poll("R").size(), 65u + 2);
    EXPECT_EQ(Poll("r").size(), 65u + 2);

    Request("S26120714050901020E10");
    const std::string fahrenheit = Poll("T");
    EXPECT_EQ(Field(fahrenheit, 74, 75), "01");
    EXPECT_NEAR(*sim::ParseNumber(Field(fahrenheit, 10, 17)), 70.0, 3.0);
}

TEST_F(ResistanceInstrument, ResistanceAndLeadRepliesCarryChannelsOneToEight) {
    const std::string resistance = Poll("R");
    const std::string lead = Poll("r");
    for (int channel = 1; channel <= 8; ++channel) {
        EXPECT_NEAR(*sim::ParseNumber(Field(resistance, 8 * channel - 6, 8 * channel + 1)), 108.0,
                    1.0);
        EXPECT_NEAR(*sim::ParseNumber(Field(lead, 8 * channel - 6, 8 * channel + 1)), 0.3, 0.05);
    }
    EXPECT_EQ(Field(resistance, 66, 66), "\x03");
    // The temperature follows the element: about 20.5 degrees at 108 ohms.
    EXPECT_NEAR(*sim::ParseNumber(Field(Poll("T"), 10, 17)), 20.5, 2.5);
}

TEST_F(Instrument, ChannelRequestsInEveryFormTheWindowsSend) {
    EXPECT_EQ(Field(Poll("3"), 1, 19), "301  1.0000  0.0000");
    Request("C302  1.0500 -0.2500");
    EXPECT_EQ(Field(Poll("3"), 1, 19), "302  1.0500 -0.2500");
    Request("C301  0.9980 -0.0120!"); // calibration
    EXPECT_EQ(Field(Poll("3"), 1, 19), "301  0.9980 -0.0120");
    Request("C30-1  1.0100  0.5000"); // no type selected: the type stays
    EXPECT_EQ(Field(Poll("3"), 1, 19), "301  1.0100  0.5000");
    Request("C308  1.0000  0.0000"); // no thermocouple type 08: the type stays
    EXPECT_EQ(Field(Poll("3"), 2, 3), "01");
    Request("C001  1.0000  0.0000"); // the cold junction only takes 00
    EXPECT_EQ(Field(Poll("0"), 2, 3), "00");
    Request("C3xx  abc   1.0000"); // scaling that does not read changes nothing
    EXPECT_EQ(Field(Poll("3"), 1, 19), "301  1.0000  0.0000");

    Request("F");
    Request("C201  0.0000  0.0000"); // the calibration's reset
    EXPECT_EQ(Field(Poll("2"), 1, 19), "201  0.0000  0.0000");
    Request("R");
    EXPECT_EQ(Field(Poll("2"), 1, 19), "201  1.0000  0.0000");
}

// The built-in simulator shares the panel's process, whose locale Qt sets from the desktop.
TEST_F(Instrument, ACommaLocaleLeavesThePointInRequestsAndReplies) {
    // The German locale as Linux names it (made by scripts/install-deps.sh), or as Windows does.
    ASSERT_TRUE(std::setlocale(LC_NUMERIC, "de_DE.UTF-8") || std::setlocale(LC_NUMERIC, "German"));
    Request("C302  1.0500 -0.2500");
    EXPECT_EQ(Field(Poll("3"), 1, 19), "302  1.0500 -0.2500");
    std::setlocale(LC_NUMERIC, "C");
}

TEST_F(Instrument, ScalingAppliesToTheRawSignal) {
    Request("C101  1.0000  0.0000");
    const sim::InputStep step{1, sim::InputLevel::Kind::Raw, 10.0, 0.0};
    model_.Step(step);
    Run(1000);
    EXPECT_NEAR(*sim::ParseNumber(Field(Poll("M"), 10, 17)), 10.0, 0.002);
    Request("C101  1.0500 -0.2500");
    Run(1000);
    EXPECT_NEAR(*sim::ParseNumber(Field(Poll("M"), 10, 17)), 10.25, 0.002);
    Request("C101  0.0000  0.0000"); // m = 0: uncalibrated, raw signal
    Run(1000);
    EXPECT_NEAR(*sim::ParseNumber(Field(Poll("M"), 10, 17)), 10.0, 0.002);
}

TEST_F(Instrument, OutputRequestAndReplyShareOneLayout) {
    EXPECT_EQ(Field(Poll("A02"), 1, 30), "A02,00,02,   20,    1,    1,00");
    Request("A03,02,05,-1234,   10,    2,01");
    EXPECT_EQ(Field(Poll("A03"), 1, 30), "A03,02,05,-1234,   10,    2,01");
    Request("A09,02,05,   20,    1,    1,00"); // no output 9
    Request("A04,07,05,   20,    1,    1,00"); // no type 7
    EXPECT_EQ(Field(Poll("A04"), 1, 30), "A04,00,04,   20,    1,    1,00");
    EXPECT_EQ(Poll("A09"), "");
    EXPECT_EQ(Poll("A00"), "");
    EXPECT_EQ(Poll("A1"), "");
}

TEST_F(Instrument, SerialRegistersAndFilterReplies) {
    Request("ZAB12");
    const std::string serial = Poll("Z");
    // The panel takes position 2 up to the end less the last three characters.
    EXPECT_EQ(serial.substr(1, serial.size() - 4), "AB12");

    const std::string registers = Poll("X");
    ASSERT_EQ(registers.size(), 65u + 2);
    Request("X"
            "00"
            "30"
            "12"
            "02"
            "07"
            "12"
            "26" +
            std::string(48, '0') + "3C");
    const std::string written = Poll("X");
    EXPECT_EQ(Field(written, 4, 15), "301202071226"); // minutes on: the clock was set
    EXPECT_EQ(Field(written, 64, 65), "3C");
    EXPECT_EQ(Field(Poll("S"), 2, 13), "261207123000");
    Request("X"
            "12"); // wrong length: nothing written
    EXPECT_EQ(Field(Poll("X"), 64, 65), "3C");

    EXPECT_EQ(Field(Poll("f"), 1, 5), "f0800");
    Request("f1201");
    EXPECT_EQ(Field(Poll("f"), 1, 5), "f1201");
}

TEST(SimRecords, LoggedValuesDecodeByThePanelsRule) {
    EXPECT_EQ(sim::FloatAsLittleEndianHex(100.0f), "0000C842");
    EXPECT_EQ(sim::FloatAsLittleEndianHex(-50.0f), "000048C2");
    EXPECT_DOUBLE_EQ(protocol::LoggedRecordReply::DecodeValue("0000C842"), 100.0);
    EXPECT_DOUBLE_EQ(protocol::LoggedRecordReply::DecodeValue("000048C2"), -50.0);
    for (const float value : {21.37f, -0.125f, 1234.5f, 0.001f}) {
        EXPECT_FLOAT_EQ(static_cast<float>(protocol::LoggedRecordReply::DecodeValue(
                            sim::FloatAsLittleEndianHex(value))),
                        value);
    }
}

TEST(SimRecords, RecordsPresentAtStartAreNumberedAndTimedAtTheInterval) {
    ManualClock clock;
    sim::InstrumentOptions options;
    options.records = 3;
    sim::InstrumentModel model(options, clock);
    sim::Responder responder(model);
    const auto reply = [&](const std::string& body) {
        return PanelPayload(*responder.Answer({DecodedFrame::Kind::Poll, body})).value();
    };
    EXPECT_EQ(Field(reply("S"), 18, 21), "0003");
    const std::string first = reply("D0001");
    const std::string third = reply("D0003");
    EXPECT_EQ(Field(first, 2, 5), "0001");
    EXPECT_EQ(Field(third, 2, 5), "0003");
    ASSERT_EQ(third.size(), 81u + 2);
    const sim::CivilTime at_first =
        *sim::MakeCivilTime(2000 + std::stoi(Field(first, 6, 7)), std::stoi(Field(first, 8, 9)),
                            std::stoi(Field(first, 10, 11)), std::stoi(Field(first, 12, 13)),
                            std::stoi(Field(first, 14, 15)), std::stoi(Field(first, 16, 17)));
    EXPECT_EQ(sim::FromSeconds(sim::ToSeconds(at_first) + 120), model.Log().Record(3)->time);
    for (int channel = 1; channel <= 8; ++channel) {
        EXPECT_NEAR(protocol::LoggedRecordReply::ChannelValue(third, channel), 21.0, 1.5)
            << channel;
    }
    // Beyond the last record the memory reads zeros.
    EXPECT_EQ(protocol::LoggedRecordReply::DecodeValue(Field(reply("D0004"), 18, 25)), 0.0);
    EXPECT_EQ(Field(reply("D0004"), 6, 17), "000000000000");
}

TEST_F(Instrument, UnknownLettersAndMalformedPollsGetNoAnswer) {
    for (const char* body : {"Q", "9", "SS", "D12", "D12345", "Dabcd", "A", "Ax1", "a"}) {
        EXPECT_FALSE(responder_.Answer({DecodedFrame::Kind::Poll, body}).has_value()) << body;
    }
    for (const char* payload : {"Q", "9", ""}) {
        EXPECT_FALSE(responder_.Answer({DecodedFrame::Kind::Request, payload}).has_value());
    }
    EXPECT_FALSE(responder_.Answer({DecodedFrame::Kind::BadCheck, "S26120714050911020E10"}));
    EXPECT_FALSE(responder_.Answer({DecodedFrame::Kind::TooLong, ""}));
    // Requests with a known letter but fields that do not read are acknowledged and change
    // nothing, so the panel is never left waiting.
    for (const char* payload : {"S", "S12", "A", "A01,xx", "C", "C9", "X", "f1", "TT", "FF"}) {
        Request(payload);
    }
    EXPECT_EQ(Field(Poll("S"), 14, 25), "0002"
                                        "0000"
                                        "003C");
}

TEST_F(Instrument, RandomRequestPayloadsNeverBreakItsReplies) {
    std::mt19937 random(3);
    const std::string letters = "SACZTFRXf";
    const std::string characters = "0123456789 -+.,!eEx\x03\x04\xff";
    for (int round = 0; round < 20000; ++round) {
        std::string payload(1, letters[random() % letters.size()]);
        const std::size_t length = random() % 40;
        for (std::size_t index = 0; index < length; ++index) {
            payload += characters[random() % characters.size()];
        }
        Request(payload);
        if (round % 500 == 0) {
            Run(500);
        }
    }
    EXPECT_EQ(Poll("T").size(), 77u);
    EXPECT_EQ(Poll("S").size(), 44u);
    for (const char* body : {"0", "1", "8", "A01", "A08"}) {
        EXPECT_EQ(Poll(body).size(), 21u + (body[0] == 'A' ? 11u : 0u)) << body;
    }
    EXPECT_EQ(Poll("X").size(), 67u);
    EXPECT_EQ(Poll("f").size(), 7u);
}
