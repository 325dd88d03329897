// A broker URL taken names a host, a port and a topic prefix, which written out again give the
// same; any other is refused in the reader's own words.
#include "mqtt/BrokerUrl.h"
#include "support/FuzzRequire.h"

#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto [url, error] = mqtt::ParseBrokerUrl(text);
    if (!error.empty()) {
        REQUIRE(error.starts_with("MQTT broker URL: "));
        return 0;
    }
    REQUIRE(!url.host.empty() && url.port >= 1 && url.port <= 65535);
    REQUIRE(!url.prefix.empty() && url.prefix.find_first_of("+#") == std::string::npos);
    const bool bracketed = url.host.find(':') != std::string::npos || url.host.starts_with('[');
    const std::string again = (url.tls ? "mqtts://" : "mqtt://") +
                              (url.user.empty() ? "" : url.user + "@") +
                              (bracketed ? "[" + url.host + "]" : url.host) + ":" +
                              std::to_string(url.port) + "/" + url.prefix;
    const mqtt::BrokerUrl reread = mqtt::ParseBrokerUrl(again).url;
    REQUIRE(again.size() > mqtt::kLongestBrokerUrl ||
            (reread.tls == url.tls && reread.user == url.user && reread.host == url.host &&
             reread.port == url.port && reread.prefix == url.prefix));
    return 0;
}
