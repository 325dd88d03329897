#pragma once

#include "ExitCode.h"
#include "PortWait.h"
#include "instrument/StatusSettings.h"
#include "protocol/Exchange.h"
#include "protocol/FrameLayer.h"
#include "serial/SerialPort.h"
#include "sim/InstrumentServer.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// The options every command that talks to the instrument takes.
struct ConnectionOptions {
    std::string port;            // empty: the port stored in the panel's settings
    std::string simulate;        // "V420" or "V630": the built-in simulator instead of a port
    std::uint32_t timeoutMs = 0; // per attempt; 0: the command's own
    int attempts = 0;            // 0: the command's own
};

class SessionLink;
class SessionObserver;

// One run's link to the instrument: the port (or the built-in simulator), the frame layer and
// the exchange path, waiting on the port's received clusters.
class Session {
public:
    // The session on the port, or nothing with the reason in `failure`.
    static std::unique_ptr<Session> Open(const ConnectionOptions& options, std::string& failure);
    ~Session();
    Session(const Session&) = delete;
    Session& operator=(const Session&) = delete;

    // The given bounds unless the command line named others.
    Bounds BoundsOr(Bounds defaults) const;
    Exchange& Link() { return *exchange_; }
    Clock& Time() { return SystemClock(); }
    bool Stopping() { return wait_.Closing(); }
    // The port's name or path as opened.
    const std::string& PortName() const { return port_.CommPort(); }

    // Asks with the command line's bounds, else the given ones (a 3 s wait, 3 attempts). An
    // exchange that brings no usable answer is told on standard error, `what` naming the
    // question there ("the status poll"); a stop signal is not.
    ExchangeResult Ask(const Question& question, std::string_view what,
                       Bounds defaults = {Bounds::kDefaultWaitMs, 3});
    std::optional<InstrumentStatus> Status();
    // A request that changes the instrument, the pause in which it takes the change, then the
    // question that reads back what it now holds: how that ended.
    ExchangeResult ChangeAndReadBack(std::string_view payload, std::uint32_t pauseMs,
                                     const Question& readBack, std::string_view what);

private:
    explicit Session(const ConnectionOptions& options);
    bool OpenPort(std::string& failure);

    ConnectionOptions options_;
    std::unique_ptr<sim::InstrumentServer> simulator_; // first: it serves until the port closed
    PortWait wait_;
    TSerialPort port_;
    std::unique_ptr<SessionLink> link_;
    std::unique_ptr<SessionObserver> observer_;
    std::unique_ptr<FrameLayer> frames_;
    std::unique_ptr<Exchange> exchange_;
};

// Opens the session and runs the command on it; a port that cannot be opened ends the run
// with PortUnavailable and the reason on standard error.
ExitCode RunSession(const ConnectionOptions& options,
                    const std::function<ExitCode(Session&)>& command);

// How an exchange that brought no usable answer ended, for the operator.
std::string Unanswered(const ExchangeResult& result, std::string_view what);
