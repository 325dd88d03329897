#pragma once

#include <array>
#include <optional>
#include <string>
#include <string_view>

namespace protocol {

// The fields of every reply, read from the payload as the handlers receive it: the letter at
// position 1, the fields, then ETX, BCC and whatever followed. Text fields give the characters
// that are there (fewer when the payload ends sooner). Numeric fields follow PayloadNumbers.h:
// a strict field gives no value when its text is not a number, and the handler then ends; a
// field with a default gives the default instead.

// Channel configuration, letter '0' to '8'.
namespace ChannelConfigurationReply {
std::optional<int> Channel(std::string_view payload);    // 1, strict decimal
std::optional<int> SensorType(std::string_view payload); // 2-3, strict decimal
std::string ScalingM(std::string_view payload);          // 4-11
std::string ScalingC(std::string_view payload);          // 12-19
} // namespace ChannelConfigurationReply

// The bits of the system flag byte, in the status reply and the "S" request.
namespace SystemFlag {
inline constexpr int kFahrenheit = 0x01;
inline constexpr int kAudible = 0x02;
inline constexpr int kAutoscan = 0x04;
inline constexpr int kLogging = 0x10;
inline constexpr int kResistanceInputs = 0x80;
} // namespace SystemFlag

// The models of the family the program tells apart; any other name is Unknown.
enum class Model { Unknown, V420, V630 };
Model ModelNamed(std::string_view name);

// What an instrument's inputs are: thermocouples (read also as millivolts) or resistance
// thermometers (read also as resistance and lead resistance).
enum class InputFamily { Thermocouple, Resistance };
// The letter the calibration records write for it: 'T' or 'P'.
char InputFamilyLetter(InputFamily inputs);

// Instrument status, letter 'S'.
namespace StatusReply {
// The clock as "dd/mm/yy" from day 6-7, month 4-5, year 2-3, and as "hh:mm:ss" from hours
// 8-9, minutes 10-11, seconds 12-13.
std::string DateText(std::string_view payload);
std::string TimeText(std::string_view payload);
std::string SystemFlagText(std::string_view payload);  // 14-15 as received
int SystemFlags(std::string_view payload);             // 14-15, hex, default 0
int AutoscanInterval(std::string_view payload);        // 16-17, hex, default 2
int LoggedRecordCount(std::string_view payload);       // 18-21, hex, default 512
int LoggingInterval(std::string_view payload);         // 22-25, hex, default 60
std::string ModelName(std::string_view payload);       // 26-29
InputFamily Inputs(std::string_view payload);          // flag bit 0x80
std::string FirmwareVersion(std::string_view payload); // 31-33
std::string Caption(std::string_view payload);         // 26-42
} // namespace StatusReply

// The whole status reply as one value: what every front end reads of it.
struct InstrumentStatus {
    std::string date;           // "dd/mm/yy"
    std::string time;           // "hh:mm:ss"
    std::string systemFlagText; // the two characters as received
    int flags = 0;              // the system flag byte (SystemFlag bits), 0 when not hex
    int autoscanInterval = 2;
    int recordCount = 512;
    int loggingInterval = 60;
    std::string modelName;
    Model model = Model::Unknown;
    std::string firmware;
    InputFamily inputs = InputFamily::Thermocouple;
    std::string caption; // model, version and what follows, for the main window's caption

    bool Flag(int mask) const { return (flags & mask) != 0; }
};

namespace StatusReply {
InstrumentStatus Decode(std::string_view payload);
} // namespace StatusReply

// The unit of the readings a reply carries.
enum class ReadingUnit { Celsius, Fahrenheit, Millivolts, Ohms };

// Readings, letters 'T' and 'M'.
namespace ReadingsReply {
inline constexpr int kFahrenheitUnitFlag = 0x01;
// The unit of any reading reply: 'T' by its unit flags (nothing when they are not a number, and
// the reply's handling ends there), 'M' millivolts, 'R' and 'r' ohms.
std::optional<ReadingUnit> Unit(std::string_view payload);
// Channel 0 (cold junction) to 8 at 2 + 8i, 8 characters; empty for any other channel.
std::string ReadingText(std::string_view payload, int channel);
std::optional<int> UnitFlags(std::string_view payload); // 74-75, 'T' only, strict decimal
} // namespace ReadingsReply

// Resistance and lead resistance readings, letters 'R' and 'r'.
namespace ResistanceReply {
// Channel 1 to 8 at 8i - 6, 8 characters; empty for any other channel.
std::string ReadingText(std::string_view payload, int channel);
} // namespace ResistanceReply

inline constexpr int kReadingChannels = 9; // the cold junction (0) and channels 1 to 8

// One reading reply as one value: the text of each channel as received, eight characters; the
// cold junction's is empty in the resistance replies, which do not carry it.
struct Readings {
    ReadingUnit unit = ReadingUnit::Celsius;
    std::array<std::string, kReadingChannels> texts;
    bool hasColdJunction = true;
};

namespace ReadingsReply {
// Any reading reply ('T', 'M', 'R', 'r'); nothing for another reply, and for a 'T' reply whose
// unit flags are not a number.
std::optional<Readings> Decode(std::string_view payload);
} // namespace ReadingsReply

// Alarm-output states, letter 'O'.
namespace OutputStatesReply {
// 2-3, strict hex: bit i - 1 set when the output of channel i is active.
std::optional<int> States(std::string_view payload);
} // namespace OutputStatesReply

// Real-time-clock registers, letter 'X'.
namespace RegistersReply {
inline constexpr int kRegisterCount = 32;
// Register 0 to 31 at 2 + 2k, 2 characters as received; empty for any other register.
std::string RegisterText(std::string_view payload, int registerNumber);
} // namespace RegistersReply

// Mains filter constant, letter 'f'.
namespace FilterConstantReply {
inline constexpr int kSixtyHertz = 1;
std::string ConstantText(std::string_view payload);     // 2-3 as received
std::optional<int> MainsFlag(std::string_view payload); // 4-5, strict decimal; 1 means 60 Hz
} // namespace FilterConstantReply

// One alarm output: the fields of the 'A' reply and of the 'A' request.
struct AlarmOutputSetting {
    int output = 1; // 1 to 8
    int type = 0;   // 0 OFF, 1 ON, 2 HIGH, 3 LOW, 4 BAND
    int input = 1;  // input channel 1 to 8
    int trigger = 0;
    int band = 0;
    int hysteresis = 0;
    int polarity = 0; // 0 Normal, 1 Inverted
    bool operator==(const AlarmOutputSetting&) const = default;
};

// The ranges an alarm output's fields can take: output and input 1 to 8, type 0 to 4, polarity
// 0 or 1, and trigger value, band and hysteresis within what a five-character field holds.
inline constexpr int kAlarmOutputs = 8;
inline constexpr int kAlarmFieldMinimum = -9999;
inline constexpr int kAlarmFieldMaximum = 99999;
bool InRange(const AlarmOutputSetting& setting);

// One alarm output, letter 'A'. Every field is decimal with a default.
namespace AlarmOutputReply {
int OutputNumber(std::string_view payload); // 2-3, default 1
int Type(std::string_view payload);         // 5-6, default 0
int Input(std::string_view payload);        // 8-9, default 1
int Trigger(std::string_view payload);      // 11-15, default 0
int Band(std::string_view payload);         // 17-21, default 0
int Hysteresis(std::string_view payload);   // 23-27, default 0
int Polarity(std::string_view payload);     // 29-30, default 0
AlarmOutputSetting Setting(std::string_view payload);
// Every field of the reply is within its range.
bool InRange(std::string_view payload);
} // namespace AlarmOutputReply

// One logged record, letter 'D'.
namespace LoggedRecordReply {
std::string RecordNumberText(std::string_view payload); // 2-5
// The time stamp as "dd/mm/yy" from day 10-11, month 8-9, year 6-7, and as "hh:mm:ss" from
// hours 12-13, minutes 14-15, seconds 16-17.
std::string DateText(std::string_view payload);
std::string TimeText(std::string_view payload);
// Channel 1 to 8 at 18 + 8(k - 1), 8 hex digits; empty for any other channel.
std::string ChannelText(std::string_view payload, int channel);
double ChannelValue(std::string_view payload, int channel);
// The whole record can be read: its six time fields are digits and its eight values eight
// hexadecimal digits each (memory never written reads FF).
bool Readable(std::string_view payload);
// A logged value: four bytes as hex pairs, least significant first, read as a single-precision
// number. Zero when the last byte is 0; a pair that is not hex (or missing) reads as 0.
double DecodeValue(std::string_view eightHexDigits);
} // namespace LoggedRecordReply

// Serial number, letter 'Z'.
namespace SerialNumberReply {
// From position 2 up to the end of the payload less its last three characters.
std::string SerialNumber(std::string_view payload);
} // namespace SerialNumberReply

} // namespace protocol
