#pragma once

#include "mqtt/ReadingMessages.h"

#include <functional>
#include <string>

struct mosquitto;

namespace mqtt {

// One libmosquitto client driven by a loop of our own rather than the library's thread, whose
// reconnecting cannot be paced or stopped as readings need. Every call after the set-up, and
// every event, belongs to the one thread that calls Loop.
class MosquittoClient {
public:
    // MQTT 3.1.1 CONNACK answers that mean the login itself was refused.
    static constexpr int kBadUserNameOrPassword = 4;
    static constexpr int kNotAuthorised = 5;

    // A clean session: the broker keeps nothing of ours between connections.
    explicit MosquittoClient(const std::string& clientId);
    ~MosquittoClient();
    MosquittoClient(const MosquittoClient&) = delete;
    MosquittoClient& operator=(const MosquittoClient&) = delete;

    // Set-up before the first connect; each returns "" or why the library refused it.
    std::string SetWill(const Message& will);
    std::string SetLogin(const std::string& user, const std::string& password);
    // TLS trusting `caFile`, or the system's certificate authorities when it is empty, for a
    // broker whose certificate names `host`. The same at every connection: the library's own
    // set-up of the system's authorities works only for the first. Refused on Windows, whose
    // build has no TLS.
    std::string SetTls(const std::string& caFile, const std::string& host);
    std::string SetInFlightLimit(int messages);

    // These return the library's result code, 0 for success; Reason explains one.
    int ConnectAsync(const std::string& host, int port, int keepAliveSeconds);
    int Publish(const Message& message); // QoS 1
    // Waits up to `timeoutMs` for the network, handles it, and runs the events.
    int Loop(int timeoutMs);
    int Disconnect();

    // Call right after the failing call: the system's errors are read from errno.
    static std::string Reason(int result);
    // The reason with the library's own account of the failure, if it gave one (what TLS
    // disliked, say).
    std::string Failure(int result);
    // Why the broker's certificate failed verification in the last connection attempt; empty
    // when it did not.
    const std::string& CertificateFailure() const { return certificateFailure_; }
    // Why the connection under way has ended without the library noticing; empty while it
    // stands. The library keeps retrying a TLS handshake on a connection the broker refused,
    // at once, until the keep-alive time is up; on Windows its wait never sees a connection
    // that failed.
    std::string ConnectionEnded() const;
    static std::string ConnectAnswerText(int answer);
    static bool IsPublishableTopic(const std::string& topic);

    std::function<void(int answer)> OnConnect; // the broker's answer, 0 accepted
    std::function<void()> OnDisconnect;
    std::function<void()> OnPublish; // the broker acknowledged a message

private:
    mosquitto* handle_;
    std::string libraryError_;
    std::string certificateFailure_; // written by the TLS library during a Loop
};

} // namespace mqtt
