#pragma once

#include <string>
#include <sys/types.h>

// Debian's mosquitto on a free loopback port, its configuration, store and (for a login "USER
// PASSWORD") password file in a temporary folder; started again, it keeps its port and store.
class LocalBroker {
public:
    explicit LocalBroker(const std::string& login = "");
    ~LocalBroker();
    void Start(); // returns once the broker takes connections
    void Stop();
    int Port() const { return port_; }
    std::string Url(const std::string& prefix, const std::string& user = "") const;

private:
    std::string folder_;
    int port_ = 0;
    pid_t pid_ = -1;
};
