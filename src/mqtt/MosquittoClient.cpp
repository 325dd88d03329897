#include "MosquittoClient.h"

#include <arpa/inet.h>
#include <cerrno>
#include <memory>
#include <mosquitto.h>
#include <openssl/ssl.h>
#include <openssl/x509v3.h>
#include <poll.h>
#include <sys/socket.h>
#include <system_error>

namespace mqtt {

namespace {

void InitialiseLibraryOnce() {
    static const int result = mosquitto_lib_init();
    (void)result;
}

std::string Explained(int result) {
    return result == MOSQ_ERR_SUCCESS ? "" : MosquittoClient::Reason(result);
}

MosquittoClient& Self(void* self) {
    return *static_cast<MosquittoClient*>(self);
}

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

MosquittoClient::MosquittoClient(const std::string& clientId) {
    InitialiseLibraryOnce();
    handle_ = mosquitto_new(clientId.c_str(), true, this);
    if (handle_ == nullptr) {
        throw std::system_error(errno, std::generic_category(), "cannot make an MQTT client");
    }
    mosquitto_connect_callback_set(handle_, [](mosquitto*, void* self, int answer) {
        if (Self(self).OnConnect) {
            Self(self).OnConnect(answer);
        }
    });
    mosquitto_disconnect_callback_set(handle_, [](mosquitto*, void* self, int) {
        if (Self(self).OnDisconnect) {
            Self(self).OnDisconnect();
        }
    });
    mosquitto_publish_callback_set(handle_, [](mosquitto*, void* self, int) {
        if (Self(self).OnPublish) {
            Self(self).OnPublish();
        }
    });
    mosquitto_log_callback_set(handle_, [](mosquitto*, void* self, int level, const char* text) {
        if (level == MOSQ_LOG_ERR) {
            Self(self).libraryError_ = text;
        }
    });
}

MosquittoClient::~MosquittoClient() {
    mosquitto_destroy(handle_);
}

std::string MosquittoClient::SetWill(const Message& will) {
    return Explained(mosquitto_will_set(handle_, will.topic.c_str(),
                                        static_cast<int>(will.payload.size()), will.payload.data(),
                                        1, will.retained));
}

std::string MosquittoClient::SetLogin(const std::string& user, const std::string& password) {
    return Explained(mosquitto_username_pw_set(handle_, user.empty() ? nullptr : user.c_str(),
                                               password.empty() ? nullptr : password.c_str()));
}

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
    return Explained(mosquitto_void_option(handle_, MOSQ_OPT_SSL_CTX, context.get()));
}

std::string MosquittoClient::SetInFlightLimit(int messages) {
    return Explained(mosquitto_int_option(handle_, MOSQ_OPT_SEND_MAXIMUM, messages));
}

int MosquittoClient::ConnectAsync(const std::string& host, int port, int keepAliveSeconds) {
    libraryError_.clear();
    certificateFailure_.clear();
    return mosquitto_connect_async(handle_, host.c_str(), port, keepAliveSeconds);
}

int MosquittoClient::Publish(const Message& message) {
    return mosquitto_publish(handle_, nullptr, message.topic.c_str(),
                             static_cast<int>(message.payload.size()), message.payload.data(), 1,
                             message.retained);
}

int MosquittoClient::Loop(int timeoutMs) {
    return mosquitto_loop(handle_, timeoutMs, 1);
}

int MosquittoClient::Disconnect() {
    return mosquitto_disconnect(handle_);
}

std::string MosquittoClient::Reason(int result) {
    if (result == MOSQ_ERR_KEEPALIVE) { // which this version of the library has no text for
        return "no answer within the keep-alive time";
    }
    std::string reason = result == MOSQ_ERR_ERRNO ? std::system_category().message(errno)
                                                  : mosquitto_strerror(result);
    if (reason.ends_with('.')) {
        reason.pop_back();
    }
    return reason;
}

std::string MosquittoClient::Failure(int result) {
    std::string failure = Reason(result);
    if (!libraryError_.empty()) {
        failure += ": " + libraryError_;
        libraryError_.clear();
    }
    return failure;
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

std::string MosquittoClient::ConnectAnswerText(int answer) {
    return mosquitto_connack_string(answer);
}

bool MosquittoClient::IsPublishableTopic(const std::string& topic) {
    return mosquitto_pub_topic_check2(topic.c_str(), topic.size()) == MOSQ_ERR_SUCCESS;
}

} // namespace mqtt
