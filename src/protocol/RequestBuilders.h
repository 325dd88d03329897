#pragma once

#include "MessageCatalogue.h"

#include <array>
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace protocol {

// Everything the program sends to the instrument: the poll letters, the two extended polls
// (whole frames, for FrameLayer::TransmitExtendedPoll) and every request payload (for
// FrameLayer::SendRequest). Numbers formatted for the operator's locale reach these builders
// as texts already formatted by the window.

// Poll letters (FrameLayer::SendPoll).
namespace Poll {
inline constexpr char kStatus = 'S';
inline constexpr char kTemperatures = 'T';
inline constexpr char kMillivolts = 'M';
inline constexpr char kResistances = 'R';
inline constexpr char kLeadResistances = 'r';
inline constexpr char kOutputStates = 'O';
inline constexpr char kSerialNumber = 'Z';
inline constexpr char kRegisters = 'X';
inline constexpr char kFilterConstant = 'f';
// The configuration poll of channel 0 to 8: its digit.
char Channel(int channel);
} // namespace Poll

// The last `count` characters of `text` (all of it when shorter).
std::string LastCharacters(std::string_view text, std::size_t count);
// A two-digit field: the last two characters of "0" + the decimal number.
std::string TwoDigitField(int value);
// A five-character field: the last five characters of four blanks + the decimal number.
std::string FiveCharacterField(int value);
// A scaling field (m or c): the last eight characters of two blanks + the fixed-point text,
// e.g. "1.0500" gives "  1.0500". The windows show the same text in their edits and labels.
std::string ScalingField(std::string_view fixedText);

// EOT 'A' nn ENQ: read alarm output 1 to 8.
std::string AlarmOutputPoll(int output);
// EOT 'D' nnnn ENQ: fetch logged record n, its number the last four characters of "0000" + n.
std::string LoggedRecordPoll(int record);

// The "S" request, taken from the window's texts by position: year, month and day from the
// "dd/mm/yy" date, hours, minutes and seconds from the "hh:mm:ss" time, the system flag text
// as it stands, then the autoscan interval (decimal text, 2 when not a number) in at least two
// and the logging interval (decimal text, 60 when not a number) in at least four upper-case
// hexadecimal digits. Short texts give short fields.
struct StatusRequestTexts {
    std::string date;
    std::string time;
    std::string systemFlag;
    std::string autoscanInterval;
    std::string loggingInterval;
};
std::string StatusRequest(const StatusRequestTexts& texts);

// "A" request: write one alarm output (30 characters).
std::string AlarmOutputRequest(const AlarmOutputSetting& setting);

// "C" request of the channel window: channel digit, "0", the sensor type index ("-1" when none
// is selected), then the m and c scaling fields made from their fixed-point texts (a text
// already in the eight-character field form comes out unchanged).
std::string ChannelRequest(int channel, int sensorTypeIndex, std::string_view mFixedText,
                           std::string_view cFixedText);
// "C" request of the calibration window: as the channel form, ended by "!" (21 characters).
std::string CalibrationRequest(int channel, int sensorTypeCode, std::string_view mFixedText,
                               std::string_view cFixedText);
// "C" request that resets a channel's scaling to m = 0, c = 0 (20 characters).
std::string CalibrationResetRequest(int channel, int sensorTypeCode);

std::string FactorySaveRequest();     // "F": save all as factory calibration
std::string FactoryRestoreRequest();  // "R": restore all factory calibration data
std::string LogPointerResetRequest(); // "Z": reset the logged-data pointer
std::string MemoryTestRequest();      // "T": test (overwrite) the external log memory

// "Z" + serial: store the serial number. No payload for an empty serial, which would be the
// logged-data pointer reset.
std::optional<std::string> SerialNumberRequest(std::string_view serial);

// "X" + the 32 register texts as typed, register 0 first.
using RegisterTexts = std::array<std::string, RegistersReply::kRegisterCount>;
std::string RegisterWriteRequest(const RegisterTexts& registers);

// "f" + the last two characters of "00" + the constant text, then "01" for 60 Hz or "00".
std::string FilterConstantRequest(std::string_view constantText, bool sixtyHertz);

} // namespace protocol
