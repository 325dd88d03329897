#pragma once

#include "base/Clock.h"
#include "mqtt/BrokerUrl.h"
#include "mqtt/DropOldestQueue.h"
#include "mqtt/ReadingMessages.h"

#include <atomic>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace mqtt {

class MosquittoClient;

struct PublisherOptions {
    BrokerUrl broker;
    // The instrument's topic level under the prefix, and the client id at the broker.
    std::string id;
    std::string password; // empty for none; needs the URL's user name
    std::string caFile;   // mqtts only: the authorities to trust (empty: the system's)
    std::size_t queueReadings = 10'000; // kept while the broker is away
    // Where the dashboards' discovery configurations go (usually "homeassistant"); empty: none.
    std::string discoveryPrefix;
    // Told what happened, one line at a time, on either thread but never on both at once.
    std::function<void(const std::string& line)> log;
    Clock* clock = nullptr; // the pauses' and the bounds' time (the system clock when null)
};

// Why the options could never work (an id that is not one topic level, a password without a
// user name ...), for the operator; "" when they may. The CA file itself is tried only by the
// publisher.
std::string OptionsProblem(const PublisherOptions& options);

// Publishes readings to an MQTT broker on a thread of its own. The broker's absence never
// holds up the caller: readings wait in a queue of their own (dropping the oldest once full)
// and reach the broker in order when it is back. The broker's last will marks the instrument
// "offline"; each connection marks it "online" and publishes the info again, and, with a
// discovery prefix, the channels' configurations before the next reading (and again before a
// reading whose unit has changed).
//
// How the command line drives it:
//
//     mqtt::PublisherOptions options;
//     options.broker = mqtt::ParseBrokerUrl(url).url; // after checking its .error
//     options.id = "V630-ttyUSB0";
//     options.password = password; // from the file or the environment
//     options.log = [](const std::string& line) { std::cerr << "vxxx: " << line << '\n'; };
//     mqtt::Publisher publisher(options); // std::invalid_argument: exit with its what()
//     publisher.SetInfo({"V630", "2.8", "C"});
//     while (a reading comes) {
//         publisher.PublishReading(std::move(reading)); // never waits for the broker
//         if (publisher.GaveUp()) return 5;             // already said so through `log`
//     }
//     publisher.Stop(); // what is queued, then "offline", within a short bound
class Publisher {
public:
    static constexpr std::chrono::milliseconds kStopBound{2000};

    // Starts connecting at once. Throws std::invalid_argument, with a text for the operator,
    // for options that could never work (an id that is not one topic level, a password without
    // a user name, an unusable CA file ...).
    explicit Publisher(PublisherOptions options);
    ~Publisher(); // Stop()
    Publisher(const Publisher&) = delete;
    Publisher& operator=(const Publisher&) = delete;

    // The retained info, published now if connected and again at every connection.
    void SetInfo(const InstrumentInfo& info);
    void PublishReading(Reading reading);

    bool Online() const { return online_; }
    // The publisher has given up for good, and said why through `log`: the broker refused the
    // user name or password, or its certificate failed verification (not signed by an
    // authority trusted, not for the broker's name, expired ...).
    bool LoginRefused() const { return refusal_ == Refusal::Login; }
    bool CertificateRejected() const { return refusal_ == Refusal::Certificate; }
    bool GaveUp() const { return refusal_ != Refusal::None; }
    std::uint64_t DroppedReadings() const;
    // Readings waiting for the broker.
    std::size_t QueuedReadings() const;

    // Delivers what is queued while connected, within `bound`, then publishes "offline" and
    // disconnects; a name lookup of the broker under way is waited for. Idempotent; call it
    // from the owner's thread.
    void Stop(std::chrono::milliseconds bound = kStopBound);

private:
    // Messages handed to the library and not yet acknowledged, so that the library never has
    // to queue one of ours.
    static constexpr int kInFlightLimit = 20;

    enum class SessionEnd { Failed, Lost, Refused, Left };
    enum class Refusal { None, Login, Certificate };

    // The network thread (PublisherLoop.cpp).
    void Run();
    SessionEnd RunSession();
    SessionEnd Ended(int result);
    SessionEnd GiveUp(Refusal refusal, const std::string& why);
    void Connected(int answer);
    void HandOver();
    bool TakeNextReading();
    bool Drained() const;
    bool PastStopBound();
    void Leave();
    void WaitBeforeRetry(std::uint32_t pause);
    void NoteFailure(const std::string& reason);

    std::optional<InstrumentInfo> InfoToSend(bool evenIfSent);
    void QueueDiscoveryFor(const std::string& unit);
    void Log(const std::string& line);

    const PublisherOptions options_;
    Clock& clock_;
    std::unique_ptr<MosquittoClient> client_;

    // Shared with the caller's thread.
    mutable std::mutex mutex_;
    DropOldestQueue<Reading> queue_;
    std::optional<InstrumentInfo> info_;
    bool infoUnsent_ = false;
    bool dropsLogged_ = false;
    std::atomic<bool> online_{false};
    std::atomic<Refusal> refusal_{Refusal::None};
    std::atomic<bool> stopping_{false};
    std::atomic<std::uint32_t> stopDeadline_{0};
    std::mutex logMutex_;

    // The network thread's own.
    bool connected_ = false;
    int answer_ = -1;
    int inFlight_ = 0;
    std::uint32_t connectedAt_ = 0;
    std::deque<Message> outgoing_;              // handed to the library before any queued reading
    std::optional<std::string> discoveredUnit_; // the unit of the configurations last sent
    std::string lastFailure_;

    std::thread thread_;
};

} // namespace mqtt
