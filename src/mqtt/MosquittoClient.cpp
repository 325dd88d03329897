#include "MosquittoClient.h"

#include <cerrno>
#include <mosquitto.h>
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

std::string MosquittoClient::ConnectAnswerText(int answer) {
    return mosquitto_connack_string(answer);
}

bool MosquittoClient::IsPublishableTopic(const std::string& topic) {
    return mosquitto_pub_topic_check2(topic.c_str(), topic.size()) == MOSQ_ERR_SUCCESS;
}

} // namespace mqtt
