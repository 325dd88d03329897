#include "PanelPublisher.h"

#include "instrument/ClockText.h"
#include "mqtt/InstrumentMessages.h"

#include <QLoggingCategory>
#include <QPointer>
#include <stdexcept>

Q_LOGGING_CATEGORY(lcBroker, "vxxx.mqtt", QtWarningMsg)

namespace {

constexpr int kStateShownEveryMs = 1000;
const std::string kDiscoveryPrefix = "homeassistant";

} // namespace

QString PasswordKey(const std::string& user, const std::string& host, int port) {
    return QString::fromStdString(user + "@" + host + ":" + std::to_string(port));
}

PanelPublisher::PanelPublisher(SettingsStore& settings, PasswordKeyring& keyring,
                               InstrumentPort& port, std::string idPort, PanelWindows& windows,
                               Clock& clock)
    : store_(settings), keyring_(keyring), port_(port), idPort_(std::move(idPort)),
      windows_(windows), clock_(clock) {
    stateTimer_.setInterval(kStateShownEveryMs);
    connect(&stateTimer_, &QTimer::timeout, this, &PanelPublisher::ShowState);
}

PanelPublisher::~PanelPublisher() {
    Stop();
}

void PanelPublisher::Restart() {
    Stop();
    ++generation_;
    settings_ = ReadBrokerSettings(store_);
    password_.reset();
    keyringProblem_.clear();
    refusal_.clear();
    early_.clear();
    stateTimer_.stop();
    if (!settings_.url.empty()) {
        const mqtt::ParsedBrokerUrl parsed = mqtt::ParseBrokerUrl(settings_.url);
        refusal_ = QString::fromStdString(parsed.error);
        if (refusal_.isEmpty()) {
            stateTimer_.start();
        }
        if (refusal_.isEmpty() && parsed.url.user.empty()) {
            password_ = "";
        } else if (refusal_.isEmpty()) {
            QPointer<PanelPublisher> self(this);
            keyring_.ReadPassword(
                PasswordKey(parsed.url.user, parsed.url.host, parsed.url.port),
                [self, generation = generation_](std::string password, const QString& problem) {
                    if (self) {
                        self->PasswordRead(generation, std::move(password), problem);
                    }
                });
        }
    }
    StartWhenReady();
    ShowState();
}

void PanelPublisher::Stop() {
    publisher_.reset(); // its destructor delivers within its bound
}

void PanelPublisher::PasswordRead(int generation, std::string password, const QString& problem) {
    if (generation != generation_) {
        return;
    }
    password_ = std::move(password);
    keyringProblem_ = problem;
    if (!problem.isEmpty()) {
        qCInfo(lcBroker) << "no MQTT password from the keyring:" << problem;
    }
    StartWhenReady();
    ShowState();
}

void PanelPublisher::StatusReceived(const protocol::InstrumentStatus& status) {
    if (status.model == protocol::Model::Unknown) {
        return;
    }
    info_ = mqtt::InstrumentInfoOf(status);
    if (publisher_) {
        publisher_->SetInfo(*info_);
    }
    StartWhenReady();
}

void PanelPublisher::ReadingsReceived(const protocol::Readings& readings) {
    if (settings_.url.empty() || !refusal_.isEmpty()) {
        return;
    }
    mqtt::Reading reading = mqtt::ReadingOf(ToLocalTime(clock_.Now()), readings);
    if (publisher_) {
        publisher_->PublishReading(std::move(reading));
        return;
    }
    early_.push_back(std::move(reading));
    if (early_.size() > settings_.queueReadings) {
        early_.pop_front();
    }
}

void PanelPublisher::StartWhenReady() {
    if (publisher_ || !password_ || !info_ || !refusal_.isEmpty() || settings_.url.empty()) {
        return;
    }
    mqtt::PublisherOptions options;
    options.broker = mqtt::ParseBrokerUrl(settings_.url).url;
    options.id = settings_.id.empty()
                     ? mqtt::DefaultId(info_->model, idPort_.empty() ? port_.CommPort() : idPort_)
                     : settings_.id;
    options.password = *password_;
    options.caFile = settings_.caFile;
    options.queueReadings = settings_.queueReadings;
    options.discoveryPrefix = settings_.discovery ? kDiscoveryPrefix : "";
    options.log = [](const std::string& line) { qCInfo(lcBroker) << line.c_str(); };
    try {
        publisher_ = std::make_unique<mqtt::Publisher>(std::move(options));
    } catch (const std::invalid_argument& error) {
        refusal_ = QString::fromStdString(error.what());
        stateTimer_.stop();
        return;
    }
    publisher_->SetInfo(*info_);
    for (mqtt::Reading& reading : early_) {
        publisher_->PublishReading(std::move(reading));
    }
    early_.clear();
}

QString PanelPublisher::StateText() const {
    if (settings_.url.empty()) {
        return {};
    }
    if (!refusal_.isEmpty()) {
        return QStringLiteral("MQTT: ") + refusal_;
    }
    QString text;
    if (!publisher_) {
        text = password_ ? QStringLiteral("MQTT: waiting for the instrument")
                         : QStringLiteral("MQTT: waiting for the keyring");
    } else if (publisher_->LoginRefused()) {
        text = QStringLiteral("MQTT: login refused");
    } else if (publisher_->CertificateRejected()) {
        text = QStringLiteral("MQTT: certificate rejected");
    } else if (publisher_->Online()) {
        text = QStringLiteral("MQTT: publishing");
    } else {
        text = QStringLiteral("MQTT: broker away (readings queued: %1)")
                   .arg(publisher_->QueuedReadings());
    }
    if (publisher_ && publisher_->DroppedReadings() > 0) {
        text += QStringLiteral(", readings dropped: %1").arg(publisher_->DroppedReadings());
    }
    if (!keyringProblem_.isEmpty()) {
        text += QStringLiteral("; no keyring, no password");
    }
    return text;
}

void PanelPublisher::ShowState() {
    if (windows_.mainDisplay != nullptr) {
        windows_.mainDisplay->ShowBrokerState(StateText());
    }
}
