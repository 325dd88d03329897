#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace mqtt {

// Where the readings go: mqtt://[USER@]HOST[:PORT]/PREFIX, or mqtts:// for TLS.
struct BrokerUrl {
    bool tls = false;
    std::string user; // empty: no login
    std::string host; // an IPv6 address without its brackets
    int port = 0;
    std::string prefix; // the first topic levels, without a trailing '/'
};

struct ParsedBrokerUrl {
    BrokerUrl url;
    std::string error; // empty when the text was understood
};

// Longer than any broker's name and topic prefix an operator would type.
inline constexpr std::size_t kLongestBrokerUrl = 1024;

// Reads a broker URL; the port defaults to 1883, or 8883 for mqtts. A password in the URL is
// refused (it would show in the process list), as are control characters and a URL longer than
// kLongestBrokerUrl; no error text repeats the URL.
ParsedBrokerUrl ParseBrokerUrl(std::string_view text);

} // namespace mqtt
