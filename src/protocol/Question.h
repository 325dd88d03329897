#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace protocol {

// What answers a frame sent to the instrument. A request is answered by whatever cluster comes
// back (an acknowledge or a framed reply); a poll by the framed reply of its own letter and,
// for one alarm output or one logged record, of its own number.
struct Expectation {
    bool anyCluster = false;
    char letter = 0;
    // The number the reply carries at position 2, in `numberWidth` decimal digits.
    std::optional<int> number;
    std::size_t numberWidth = 0;

    // Whether a framed reply (its payload without the STX) is the one expected.
    bool Matches(std::string_view payload) const;
};

// One thing to ask the instrument: the frame as it goes on the line and what answers it.
struct Question {
    std::string frame;
    Expectation answer;
    // The reply's fields are within their ranges; a reply failing it is refused, not used.
    bool (*inRange)(std::string_view payload) = nullptr;
    // A request that changes the instrument is given this long to take the change before
    // anything else is asked: the sender pauses once the frame has gone.
    std::uint32_t pauseMs = 0;

    // EOT letter ENQ, answered by the reply of that letter.
    static Question Poll(char letter);
    // EOT 'A' nn ENQ, answered by the 'A' reply of that output, whose fields must be in range.
    static Question AlarmOutput(int output);
    // EOT 'D' nnnn ENQ, answered by the 'D' reply of that record, which must be readable.
    static Question LoggedRecord(int record);
    // EOT STX payload ETX BCC, answered by any cluster, with the pause its letter asks for:
    // 20 ms after an alarm output ('A'); 100 ms after the status ('S'), a channel's scaling
    // ('C'), the log pointer reset or the serial number ('Z'), the factory calibration ('F',
    // 'R'); 200 ms after the clock registers ('X') and the filter constant ('f'); 5 s after the
    // log memory test ('T'), which overwrites the whole memory. Nothing for a payload over 508
    // characters, which does not fit the transmit buffer.
    static std::optional<Question> Request(std::string_view payload);
};

} // namespace protocol
