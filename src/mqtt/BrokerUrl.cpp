#include "BrokerUrl.h"

#include <algorithm>
#include <charconv>
#include <optional>

namespace mqtt {

namespace {

constexpr std::string_view kPlainScheme = "mqtt://";
constexpr std::string_view kTlsScheme = "mqtts://";

ParsedBrokerUrl Refused(std::string_view why) {
    return {{}, "MQTT broker URL: " + std::string(why)};
}

ParsedBrokerUrl Malformed(std::string_view why) {
    return Refused(std::string(why) +
                   "; the form is mqtt://[USER@]HOST[:PORT]/PREFIX or mqtts://...");
}

std::optional<int> ParsePort(std::string_view text) {
    int port = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), port);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || port < 1 ||
        port > 65535) {
        return std::nullopt;
    }
    return port;
}

// Splits HOST[:PORT] or [IPV6][:PORT]; `port` stays unset when none is given.
bool SplitHostPort(std::string_view authority, std::string_view& host,
                   std::optional<std::string_view>& port) {
    std::size_t hostEnd = authority.find(':');
    host = authority.substr(0, hostEnd);
    if (authority.starts_with('[')) {
        const std::size_t close = authority.find(']');
        if (close == std::string_view::npos) {
            return false;
        }
        host = authority.substr(1, close - 1);
        hostEnd = close + 1 < authority.size() ? close + 1 : std::string_view::npos;
        if (hostEnd != std::string_view::npos && authority[hostEnd] != ':') {
            return false;
        }
    }
    if (hostEnd != std::string_view::npos) {
        port = authority.substr(hostEnd + 1);
    }
    return true;
}

} // namespace

ParsedBrokerUrl ParseBrokerUrl(std::string_view text) {
    if (text.size() > kLongestBrokerUrl) {
        return Refused("longer than " + std::to_string(kLongestBrokerUrl) + " characters");
    }
    if (std::any_of(text.begin(), text.end(),
                    [](char c) { return static_cast<unsigned char>(c) < 0x20 || c == 0x7F; })) {
        return Refused("it holds a control character");
    }
    BrokerUrl url;
    if (text.starts_with(kTlsScheme)) {
        url.tls = true;
        url.port = 8883;
        text.remove_prefix(kTlsScheme.size());
    } else if (text.starts_with(kPlainScheme)) {
        url.port = 1883;
        text.remove_prefix(kPlainScheme.size());
    } else {
        return Malformed("it must start with mqtt:// or mqtts://");
    }

    const std::size_t slash = text.find('/');
    std::string_view authority = text.substr(0, slash);
    std::string_view prefix = slash == std::string_view::npos ? "" : text.substr(slash + 1);

    const std::size_t at = authority.rfind('@');
    if (at != std::string_view::npos) {
        const std::string_view user = authority.substr(0, at);
        if (user.find(':') != std::string_view::npos) {
            return Refused("a password does not belong in the URL; give it on its own (vxxx: "
                           "--mqtt-password-file FILE or the environment variable "
                           "VXXX_MQTT_PASSWORD; the panel: its Password field)");
        }
        if (user.empty()) {
            return Malformed("the user name before '@' is empty");
        }
        url.user = user;
        authority.remove_prefix(at + 1);
    }

    std::string_view host;
    std::optional<std::string_view> port;
    if (!SplitHostPort(authority, host, port)) {
        return Malformed("an IPv6 address goes in brackets, e.g. [::1]:1883");
    }
    if (host.empty()) {
        return Malformed("it names no host");
    }
    url.host = host;
    if (port) {
        const std::optional<int> number = ParsePort(*port);
        if (!number) {
            return Malformed("the port must be a number from 1 to 65535");
        }
        url.port = *number;
    }

    while (prefix.ends_with('/')) {
        prefix.remove_suffix(1);
    }
    if (prefix.empty()) {
        return Malformed("it needs a topic prefix after the host, e.g. mqtt://broker/plant");
    }
    if (prefix.find_first_of("+#") != std::string_view::npos) {
        return Malformed("the topic prefix must not contain + or #");
    }
    url.prefix = prefix;
    return {url, ""};
}

} // namespace mqtt
