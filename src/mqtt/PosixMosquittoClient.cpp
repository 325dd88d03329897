// What the client does its own way here: TLS through a context of the system's TLS library,
// and the look at the socket that tells a connection the broker refused or closed.
#include "MosquittoClient.h"
#include "TlsSupport.h"

#include <arpa/inet.h>
#include <memory>
#include <mosquitto.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>

namespace mqtt {

namespace {

bool IsIpAddress(const std::string& host) {
    unsigned char address[sizeof(in6_addr)];
    return inet_pton(AF_INET, host.c_str(), address) == 1 ||
           inet_pton(AF_INET6, host.c_str(), address) == 1;
}

// Notes why the broker's certificate failed, in the text the context carries for it.
int NoteVerification(int preverified, X509_STORE_CTX* store) {
    if (!preverified) {
        const auto* ssl = static_cast<const SSL*>(
            X509_STORE_CTX_get_ex_data(store, SSL_get_ex_data_X509_STORE_CTX_idx()));
        auto* failure = static_cast<std::string*>(SSL_CTX_get_app_data(SSL_get_SSL_CTX(ssl)));
        *failure = X509_verify_cert_error_string(X509_STORE_CTX_get_error(store));
    }
    return preverified;
}

} // namespace

// A context of our own, which the library uses as it is at every connection.
std::string MosquittoClient::SetTls(const std::string& caFile, const std::string& host) {
    const std::unique_ptr<SSL_CTX, void (*)(SSL_CTX*)> context(SSL_CTX_new(TLS_client_method()),
                                                               SSL_CTX_free);
    if (!context || !SSL_CTX_set_min_proto_version(context.get(), TLS1_2_VERSION)) {
        return "cannot set up TLS";
    }
    if (caFile.empty() ? !SSL_CTX_set_default_verify_paths(context.get())
                       : !SSL_CTX_load_verify_file(context.get(), caFile.c_str())) {
        return caFile.empty() ? "cannot read the system's certificate authorities"
                              : "cannot use the CA file " + caFile;
    }
    X509_VERIFY_PARAM* check = SSL_CTX_get0_param(context.get());
    if (!(IsIpAddress(host) ? X509_VERIFY_PARAM_set1_ip_asc(check, host.c_str())
                            : X509_VERIFY_PARAM_set1_host(check, host.c_str(), host.size()))) {
        return "cannot check the broker's name " + host + " in its certificate";
    }
    SSL_CTX_set_verify(context.get(), SSL_VERIFY_PEER, NoteVerification);
    SSL_CTX_set_app_data(context.get(), &certificateFailure_);
    if (const int result = mosquitto_int_option(handle_, MOSQ_OPT_SSL_CTX_WITH_DEFAULTS, 0)) {
        return Reason(result);
    }
    if (const int result = mosquitto_void_option(handle_, MOSQ_OPT_SSL_CTX, context.get())) {
        return Reason(result);
    }
    return {};
}

// A connection refused or reset leaves the socket closed, which poll() tells as a hang-up.
std::string MosquittoClient::ConnectionEnded() const {
    const int socket = mosquitto_socket(handle_);
    pollfd watched{socket, 0, 0};
    if (socket < 0 || poll(&watched, 1, 0) != 1 || !(watched.revents & POLLHUP)) {
        return {};
    }
    int error = 0;
    socklen_t size = sizeof error;
    getsockopt(socket, SOL_SOCKET, SO_ERROR, &error, &size);
    return error != 0 ? std::system_category().message(error)
                      : "the connection was refused or closed before the broker answered";
}

std::string_view MqttsHelp() {
    return " or mqtts://... (TLS, port 8883)";
}

} // namespace mqtt
