#pragma once

#include "ConnectionOptions.h"
#include "ExitCode.h"
#include "PortWait.h"
#include "instrument/InstrumentLink.h"
#include "instrument/JobLink.h"
#include "protocol/Exchange.h"
#include "protocol/FrameLayer.h"
#include "protocol/MessageCatalogue.h"

#include <functional>
#include <memory>
#include <optional>
#include <string>

class SessionObserver;

// One run's link to the instrument: the instrument link (the port with the panel's port
// settings, or the built-in simulator), the frame layer and the exchange path, waiting on the
// port's received clusters. When the port's device goes away, and when it is back, standard
// error says so (and why it went).
class Session {
public:
    // The session on the port, or nothing with the reason in `failure`.
    static std::unique_ptr<Session> Open(const ConnectionOptions& options, std::string& failure);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // What the jobs run on: the bounds the command line names, else the given ones.
    jobs::JobLink Jobs(protocol::Bounds defaults = jobs::kUnattendedBounds);
    protocol::Exchange& Link() { return *exchange_; }
    Clock& Time() { return SystemClock(); }
    bool Stopping() { return wait_.Closing(); }
    // The port's device is away; the port opens it again as soon as it is back.
    bool DeviceLost() const { return link_->DeviceLost(); }
    // The port's name or path as opened.
    const std::string& PortName() const { return link_->CommPort(); }

private:
    explicit Session(const ConnectionOptions& options);
    void DeviceChanged();

    ConnectionOptions options_;
    PortWait wait_;
    std::unique_ptr<InstrumentLink> link_;
    std::unique_ptr<SessionObserver> observer_;
    std::unique_ptr<protocol::FrameLayer> frames_;
    std::unique_ptr<protocol::Exchange> exchange_;
    bool lossTold_ = false; // the device's loss told, its return not yet
};

// The instrument's status; when it does not come, nothing, and standard error says why.
std::optional<protocol::InstrumentStatus> ReadStatus(Session& session);

// Opens the session and runs the command on it; a port that cannot be opened ends the run
// with PortUnavailable and the reason on standard error.
ExitCode RunSession(const ConnectionOptions& options,
                    const std::function<ExitCode(Session&)>& command);
