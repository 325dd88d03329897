#pragma once

#include <cstddef>
#include <string>

namespace mqtt {

// A password longer than any a broker would ask for: the file is not one of passwords.
inline constexpr std::size_t kLongestPasswordFile = 4096;

struct BrokerPassword {
    std::string password;
    std::string error; // why there is none, for the operator; empty when read
};

// The first line of the file, without its line end. A file that every user may read is
// refused, as is one that is not a regular file or is longer than kLongestPasswordFile.
BrokerPassword ReadPasswordFile(const std::string& path);

// The service manager's credential `name` (systemd's LoadCredential=): the file of that name
// in $CREDENTIALS_DIRECTORY, which only the service's user may read. Refused when the service
// was given no credentials, not that one (its file was missing), or an empty one.
BrokerPassword ReadPasswordCredential(const std::string& name);

} // namespace mqtt
