#include "Session.h"

#include "Messages.h"
#include "PanelSettings.h"
#include "instrument/StatusJobs.h"

namespace {

std::string OpenFailure(const std::string& port, const LinkProblem& problem) {
    const std::string start = "cannot open the port " + port + ": ";
    switch (problem.kind) {
    case LinkProblem::Kind::NoSuchDevice:
        return start + "no such device (name the port with --port PATH)";
    case LinkProblem::Kind::InUse:
        return start + "in use by another program";
    case LinkProblem::Kind::PermissionDenied:
        return start + "permission denied. Serial ports belong to the group dialout: run "
                       "sudo usermod -aG dialout \"$USER\" once, then log in again";
    case LinkProblem::Kind::Other:
        break;
    }
    return start + (problem.systemError == 0 ? "it does not open" : problem.SystemText());
}

} // namespace

// The tool shows nothing of the link's counters and indicator.
class SessionObserver final : public protocol::FrameObserver {
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
    : options_(options), observer_(std::make_unique<SessionObserver>()) {}

Session::~Session() {
    // Closed before what it hands its clusters to.
    link_.reset();
}

std::unique_ptr<Session> Session::Open(const ConnectionOptions& options, std::string& failure) {
    std::unique_ptr<Session> session(new Session(options));
    LinkChoice choice;
    if (!options.port.empty()) {
        choice.port = options.port;
    }
    if (!options.simulate.empty()) {
        choice.simulatedModel = options.simulate;
    }
    session->link_ =
        InstrumentLink::Make(session->wait_.HandOver(), SystemClock(), choice, failure);
    if (!session->link_) {
        return nullptr;
    }
    session->frames_ =
        std::make_unique<protocol::FrameLayer>(*session->link_, *session->observer_, SystemClock());
    session->exchange_ =
        std::make_unique<protocol::Exchange>(*session->frames_, SystemClock(), session->wait_);
    Session& opened = *session;
    opened.link_->SetOnReceived([&opened] { opened.frames_->SerialPort1RxClusterEvent(); });
    opened.link_->SetOnDeviceChange([&opened] { opened.DeviceChanged(); });
    std::string settingsProblem;
    const std::unique_ptr<SettingsStore> settings = OpenPanelSettings(settingsProblem);
    if (!settingsProblem.empty()) {
        Tell("the panel's settings cannot be read (" + settingsProblem +
             "); the port's defaults are used");
    }
    const std::optional<LinkProblem> problem = opened.link_->Open(*settings);
    if (const std::string notice = opened.link_->TakeSettingsNotice(); !notice.empty()) {
        Tell("the panel's port settings [Comms]: " + notice);
    }
    if (problem) {
        failure = OpenFailure(opened.PortName(), *problem);
        return nullptr;
    }
    return session;
}

void Session::DeviceChanged() {
    if (!link_->DeviceLost()) {
        // What was asked before the device went cannot be answered now.
        frames_->LinkRestarted();
        lossTold_ = false;
        Tell("the port " + PortName() + " is back");
        return;
    }
    const std::optional<LinkProblem> why = link_->Problem();
    if (lossTold_) {
        // Still away: another device took its path and was left alone, told once per reason.
        Tell("the port " + PortName() + ": " + (why ? why->message : "device not taken") +
             "; still waiting for its own device");
        return;
    }
    lossTold_ = true;
    Tell("the port " + PortName() + " went away" +
         (why && why->systemError != 0 ? " (" + why->SystemText() + ")" : "") +
         "; waiting for it to come back");
}

jobs::JobLink Session::Jobs(protocol::Bounds defaults) {
    return {*exchange_,
            {options_.timeoutMs > 0 ? options_.timeoutMs : defaults.waitMs,
             options_.attempts > 0 ? options_.attempts : defaults.attempts},
            {}};
}

std::optional<protocol::InstrumentStatus> ReadStatus(Session& session) {
    const jobs::Result<protocol::InstrumentStatus> status = jobs::ReadStatus(session.Jobs());
    TellUnanswered(status.outcome, "the status poll");
    return status.value;
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
