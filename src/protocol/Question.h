#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

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

    // EOT letter ENQ, answered by the reply of that letter.
    static Question Poll(char letter);
    // EOT 'A' nn ENQ, answered by the 'A' reply of that output, whose fields must be in range.
    static Question AlarmOutput(int output);
    // EOT 'D' nnnn ENQ, answered by the 'D' reply of that record, which must be readable.
    static Question LoggedRecord(int record);
    // EOT STX payload ETX BCC, answered by any cluster. Nothing for a payload over 508
    // characters, which does not fit the transmit buffer.
    static std::optional<Question> Request(std::string_view payload);
};
