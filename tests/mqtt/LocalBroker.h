#pragma once

#include <string>
#include <sys/types.h>

// Debian's mosquitto on a free loopback port, its configuration, store and (for a login "USER
// PASSWORD") password file in a temporary folder; started again, it keeps its port and store.
// With `tls` its listener takes TLS only, with a certificate for 127.0.0.1 signed by an
// authority of its own (CaFile).
class LocalBroker {
public:
    explicit LocalBroker(const std::string& login = "", bool tls = false);
    ~LocalBroker();
    void Start(); // returns once the broker takes connections
    void Stop();
    int Port() const { return port_; }
    std::string Url(const std::string& prefix, const std::string& user = "") const;
    std::string CaFile() const { return folder_ + "/ca.pem"; }

private:
    std::string folder_;
    bool tls_ = false;
    int port_ = 0;
    pid_t pid_ = -1;
};
