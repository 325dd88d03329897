#include "Session.h"

#include "Messages.h"
#include "PanelSettingsFile.h"
#include "protocol/RequestBuilders.h"

#include <cerrno>
#include <cstring>

namespace {

constexpr std::uint32_t kBaudRate = 38400;
constexpr std::uint32_t kOpenFailedMessage = 112; // the port's "Error reopening Port"
const std::string kComms = "Comms";

// The panel's port settings for this run: the port named on the command line, if any, and
// nothing opened before the tool's own settings are in place.
class RunSettings final : public SettingsStore {
public:
    RunSettings(SettingsStore& store, const std::string& port) : store_(store), port_(port) {}
    std::optional<std::string> ReadValue(const std::string& key, const std::string& section,
                                         const std::string& name) override {
        if (section == kComms && name == "Active") {
            return "0";
        }
        if (section == kComms && name == "CommPort" && !port_.empty()) {
            return port_;
        }
        return store_.ReadValue(key, section, name);
    }
    void WriteValue(const std::string&, const std::string&, const std::string&,
                    const std::string&) override {}

private:
    SettingsStore& store_;
    const std::string& port_;
};

std::string OpenFailure(const std::string& port, std::optional<std::uint32_t> error) {
    const std::string start = "cannot open the port " + port + ": ";
    switch (error.value_or(0)) {
    case ENOENT:
    case ENODEV:
    case ENXIO:
        return start + "no such device (name the port with --port PATH)";
    case EBUSY:
        return start + "in use by another program";
    case EACCES:
    case EPERM:
        return start + "permission denied. Serial ports belong to the group dialout: run "
                       "sudo usermod -aG dialout \"$USER\" once, then log in again";
    case 0:
        return start + "it does not open";
    default:
        return start + std::strerror(static_cast<int>(*error));
    }
}

} // namespace

// The frame layer's side of the port.
class SessionLink final : public ClusterLink {
public:
    explicit SessionLink(TSerialPort& port) : port_(port) {}
    void SendText(const std::string& text) override { port_.SendText(text); }
    std::int32_t PeekClusterSize() override { return port_.PeekClusterSize(); }
    std::string TakeClusterText() override { return port_.TakeClusterText(); }
    std::int32_t PeekClusterError() override { return port_.PeekClusterError(); }

private:
    TSerialPort& port_;
};

// The tool shows nothing of the link's counters and indicator.
class SessionObserver final : public FrameObserver {
public:
    void ShowCommsCount(int) override {}
    void ShowBccErrorCount(int) override {}
    void ShowOnline(bool) override {}
    void ShowDiagnosticLine(const std::string&) override {}
    std::string FormatNow(const std::string&) override { return {}; }
    bool CommsLogActive() override { return false; }
    void WriteCommsLogLine(const std::string&) override {}
};

Session::Session(const ConnectionOptions& options)
    : options_(options), port_(wait_.HandOver(), SystemClock()),
      link_(std::make_unique<SessionLink>(port_)), observer_(std::make_unique<SessionObserver>()),
      frames_(std::make_unique<FrameLayer>(*link_, *observer_, SystemClock())),
      exchange_(std::make_unique<Exchange>(*frames_, SystemClock(), wait_)) {}

Session::~Session() {
    port_.OnRxClusterEvent = nullptr;
    port_.OnProcessError = nullptr;
    port_.SetActive(false);
}

std::unique_ptr<Session> Session::Open(const ConnectionOptions& options, std::string& failure) {
    std::unique_ptr<Session> session(new Session(options));
    if (!options.simulate.empty()) {
        sim::ServerOptions simulated;
        simulated.instrument.model = options.simulate;
        session->simulator_ = std::make_unique<sim::InstrumentServer>(std::move(simulated));
        try {
            session->simulator_->Start();
        } catch (const std::exception& error) {
            failure = std::string("the simulator cannot start: ") + error.what();
            return nullptr;
        }
        session->options_.port = session->simulator_->Path();
    }
    if (!session->OpenPort(failure)) {
        return nullptr;
    }
    return session;
}

bool Session::OpenPort(std::string& failure) {
    PanelSettingsFile settings(PanelSettingsFile::DefaultPath());
    if (!settings.Problem().empty()) {
        Tell("the panel's settings cannot be read (" + settings.Problem() +
             "); the port's defaults are used");
    }
    RunSettings runSettings(settings, options_.port);
    port_.RestoreSettings(runSettings, kSettingsKey, kComms);
    port_.SetBaudRate(kBaudRate);
    std::optional<std::uint32_t> openError;
    port_.OnProcessError = [&openError](TSerialPort&, std::uint32_t place, std::uint32_t code,
                                        const std::string&, std::uint8_t) {
        if (place == kOpenFailedMessage) {
            openError = code;
        }
    };
    port_.OnRxClusterEvent = [this](TSerialPort&) { frames_->SerialPort1RxClusterEvent(); };
    port_.SetActive(true);
    port_.OnProcessError = nullptr;
    if (!port_.Active()) {
        failure = OpenFailure(port_.CommPort(), openError);
        return false;
    }
    return true;
}

Bounds Session::BoundsOr(Bounds defaults) const {
    return {options_.timeoutMs > 0 ? options_.timeoutMs : defaults.waitMs,
            options_.attempts > 0 ? options_.attempts : defaults.attempts};
}

ExchangeResult Session::Ask(const Question& question, std::string_view what, Bounds defaults) {
    ExchangeResult result = exchange_->Ask(question, BoundsOr(defaults));
    if (!result.Answered() && result.outcome != Outcome::Closing) {
        Tell(Unanswered(result, what));
    }
    return result;
}

std::optional<InstrumentStatus> Session::Status() {
    const ExchangeResult result = Ask(Question::Poll(Poll::kStatus), "the status poll");
    if (!result.Answered()) {
        return std::nullopt;
    }
    return ReadStatus(result.reply);
}

ExchangeResult Session::ChangeAndReadBack(std::string_view payload, std::uint32_t pauseMs,
                                          const Question& readBack, std::string_view what) {
    const std::optional<Question> request = Question::Request(payload);
    if (!request) {
        return {Outcome::NotSent, {}};
    }
    const ExchangeResult sent = Ask(*request, what);
    if (!sent.Answered()) {
        return sent;
    }
    exchange_->Settle(pauseMs);
    return Ask(readBack, std::string(what) + " read back");
}

ExitCode RunSession(const ConnectionOptions& options,
                    const std::function<ExitCode(Session&)>& command) {
    std::string failure;
    const std::unique_ptr<Session> session = Session::Open(options, failure);
    if (!session) {
        Tell(failure);
        return ExitCode::PortUnavailable;
    }
    return command(*session);
}

std::string Unanswered(const ExchangeResult& result, std::string_view what) {
    const std::string named(what);
    switch (result.outcome) {
    case Outcome::Refused:
        return "the instrument answered " + named + " with values out of range";
    case Outcome::Cancelled:
    case Outcome::Closing:
        return "stopped before the instrument answered " + named;
    case Outcome::NotSent:
        return named + " is too long to send";
    case Outcome::Answered:
    case Outcome::NotAnswered:
        break;
    }
    return "the instrument did not answer " + named;
}
