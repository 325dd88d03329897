#pragma once

#include <algorithm>
#include <string>

// Instrument replies as they arrive on the line.
namespace Replies {

// STX payload ETX BCC.
inline std::string Framed(const std::string& payload) {
    char bcc = 0x03;
    for (const char c : payload) {
        bcc = static_cast<char>(bcc ^ c);
    }
    return "\x02" + payload + "\x03" + std::string(1, bcc);
}

// A status reply: the clock 07/12/26 10:05:02, the flag, autoscan 2, 512 records, interval 60.
inline std::string Status(const std::string& model, const std::string& flag = "00",
                          const std::string& version = "2.8") {
    return Framed("S261207100502" + flag +
                  "02"
                  "0200"
                  "003C" +
                  model + " " + version + " 10/11/18");
}

// An eight-character reading field, right-aligned.
inline std::string Field(const std::string& text) {
    return std::string(8 - std::min<std::size_t>(text.size(), 8), ' ') + text.substr(0, 8);
}

inline std::string Readings(char letter, const std::string& fields, const std::string& unit = "") {
    return Framed(std::string(1, letter) + fields + unit);
}

// The single acknowledge character the instrument answers a request with.
inline const std::string kAcknowledge = "\x06";

} // namespace Replies
