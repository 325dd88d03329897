// What the client does its own way on Windows: no TLS (the library is built without it), and
// the look at the socket for a connection that failed, which Windows reports only among a
// socket's exceptions, where the library's own wait does not look.
#include "MosquittoClient.h"
#include "TlsSupport.h"

#include <mosquitto.h>
#include <system_error>
#include <winsock2.h>

namespace mqtt {

std::string MosquittoClient::SetTls(const std::string&, const std::string&) {
    return "this build has no TLS: mqtts:// is Linux-only for now";
}

std::string MosquittoClient::ConnectionEnded() const {
    const int socket = mosquitto_socket(handle_);
    if (socket < 0) {
        return {};
    }
    fd_set failed;
    FD_ZERO(&failed);
    FD_SET(static_cast<SOCKET>(socket), &failed);
    timeval now{0, 0};
    if (select(0, nullptr, nullptr, &failed, &now) != 1) {
        return {};
    }
    int error = 0;
    int size = sizeof error;
    getsockopt(static_cast<SOCKET>(socket), SOL_SOCKET, SO_ERROR, reinterpret_cast<char*>(&error),
               &size);
    return error != 0 ? std::system_category().message(error)
                      : "the connection was refused or closed before the broker answered";
}

std::string_view MqttsHelp() {
    return " (mqtts://, TLS, is Linux-only for now: this build has no TLS)";
}

} // namespace mqtt
