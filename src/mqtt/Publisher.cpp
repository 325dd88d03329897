#include "Publisher.h"

#include "DiscoveryMessages.h"
#include "MosquittoClient.h"

#include <algorithm>
#include <iterator>
#include <stdexcept>

namespace mqtt {

namespace {

void Require(const std::string& problem) {
    if (!problem.empty()) {
        throw std::invalid_argument(problem);
    }
}

} // namespace

std::string OptionsProblem(const PublisherOptions& options) {
    const BrokerUrl& broker = options.broker;
    if (options.id.empty() || options.id.find('/') != std::string::npos) {
        return "the MQTT id must be one topic level: not empty, without '/'";
    }
    if (!MosquittoClient::IsPublishableTopic(
            StatusMessage(broker.prefix, options.id, true).topic)) {
        return "the MQTT topic prefix and id must be UTF-8 without + or #";
    }
    if (!options.discoveryPrefix.empty() &&
        !MosquittoClient::IsPublishableTopic(options.discoveryPrefix + "/sensor")) {
        return "the discovery prefix must be UTF-8 topic levels without + or #";
    }
    if (!options.password.empty() && broker.user.empty()) {
        return "an MQTT password needs the user name in the URL: mqtt://USER@HOST/PREFIX";
    }
    if (!options.caFile.empty() && !broker.tls) {
        return "a CA file applies only to an mqtts:// broker";
    }
    return options.queueReadings == 0 ? "the MQTT queue must hold at least one reading" : "";
}

Publisher::Publisher(PublisherOptions options)
    : options_(std::move(options)), clock_(options_.clock ? *options_.clock : SystemClock()),
      queue_(options_.queueReadings) {
    Require(OptionsProblem(options_));
    client_ = std::make_unique<MosquittoClient>(options_.id);
    Require(client_->SetWill(StatusMessage(options_.broker.prefix, options_.id, false)));
    Require(client_->SetLogin(options_.broker.user, options_.password));
    // One more for the library: the final "offline" never waits behind a full window.
    Require(client_->SetInFlightLimit(kInFlightLimit + 1));
    if (options_.broker.tls) {
        Require(client_->SetTls(options_.caFile, options_.broker.host));
    }
    client_->OnConnect = [this](int answer) { Connected(answer); };
    client_->OnDisconnect = [this] { connected_ = online_ = false; };
    client_->OnPublish = [this] { inFlight_ = std::max(inFlight_ - 1, 0); };
    thread_ = std::thread([this] { Run(); });
}

Publisher::~Publisher() {
    Stop();
}

void Publisher::SetInfo(const InstrumentInfo& info) {
    std::lock_guard lock(mutex_);
    info_ = info;
    infoUnsent_ = true;
}

void Publisher::PublishReading(Reading reading) {
    if (GaveUp()) {
        return;
    }
    bool firstDrop = false;
    {
        std::lock_guard lock(mutex_);
        firstDrop = queue_.Push(std::move(reading)) && !dropsLogged_;
        dropsLogged_ = dropsLogged_ || firstDrop;
    }
    if (firstDrop) {
        Log("more than " + std::to_string(options_.queueReadings) +
            " readings wait for the broker: dropping the oldest from now on");
    }
}

std::uint64_t Publisher::DroppedReadings() const {
    std::lock_guard lock(mutex_);
    return queue_.Dropped();
}

std::size_t Publisher::QueuedReadings() const {
    std::lock_guard lock(mutex_);
    return queue_.Size();
}

void Publisher::Stop(std::chrono::milliseconds bound) {
    if (!thread_.joinable()) {
        return;
    }
    stopDeadline_ = clock_.TickCount() + static_cast<std::uint32_t>(bound.count());
    stopping_ = true;
    thread_.join();
    std::lock_guard lock(mutex_);
    if (queue_.Size() > 0 && !GaveUp()) {
        Log("readings never delivered to the broker: " + std::to_string(queue_.Size()));
    }
}

std::optional<InstrumentInfo> Publisher::InfoToSend(bool evenIfSent) {
    std::lock_guard lock(mutex_);
    const bool send = info_ && (infoUnsent_ || evenIfSent);
    infoUnsent_ = false;
    return send ? info_ : std::nullopt;
}

void Publisher::QueueDiscoveryFor(const std::string& unit) {
    if (options_.discoveryPrefix.empty() || discoveredUnit_ == unit) {
        return;
    }
    InstrumentInfo info;
    {
        std::lock_guard lock(mutex_);
        info = info_.value_or(InstrumentInfo{});
    }
    std::vector<Message> messages = DiscoveryMessages(
        options_.discoveryPrefix, options_.broker.prefix, options_.id, info, unit);
    outgoing_.insert(outgoing_.end(), std::make_move_iterator(messages.begin()),
                     std::make_move_iterator(messages.end()));
    discoveredUnit_ = unit;
}

void Publisher::Log(const std::string& line) {
    if (options_.log) {
        const std::string& host = options_.broker.host;
        std::lock_guard lock(logMutex_);
        options_.log("MQTT broker " +
                     (host.find(':') == std::string::npos ? host : "[" + host + "]") + ":" +
                     std::to_string(options_.broker.port) + ": " + line);
    }
}

} // namespace mqtt
