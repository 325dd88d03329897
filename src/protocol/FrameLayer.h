#pragma once

#include "BusyWatchdog.h"
#include "ClusterLink.h"
#include "FrameObserver.h"
#include "Question.h"
#include "base/Clock.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <string_view>

namespace protocol {

// A request as it goes on the line: EOT STX payload ETX BCC, the BCC being the XOR of the
// payload bytes and the ETX.
std::string RequestFrame(std::string_view payload);

// How a transaction ended, for the one who waits for it.
struct TransactionEnd {
    enum class How {
        Answered,   // the cluster it expected came: `reply` holds it
        Unreadable, // a cluster came that answers nothing (a broken frame, a stray byte)
        Expired,    // its bound passed without an answer
    };
    How how = How::Expired;
    // The reply without its STX (framed), or the cluster as received (a request's acknowledge).
    std::string reply;
};

// The only path between the program and the serial port: frames polls and requests, keeps one
// transaction on the line at a time, counts protocol faults, and checks every received cluster
// before it hands the payload to the dispatcher. Runs on one thread only (the panel's UI
// thread, the command-line tool's main thread).
//
// A transaction opens when its frame goes out and ends when the cluster it expects comes, when
// any cluster that answers nothing comes, or when it is given up; until then the link is busy
// and nothing else is sent. A well-formed reply to something else (one that comes after its own
// transaction gave up waiting) is dispatched as usual but does not end the transaction.
//
// An unanswered transaction is given up by the polling timer's watchdog while that runs (four
// ticks), otherwise when its own bound has passed.
class FrameLayer {
public:
    static constexpr std::size_t kTxBufferSize = 512;
    static constexpr std::size_t kMaxPayload = kTxBufferSize - 4;
    static constexpr std::size_t kMaxCluster = 255;

    FrameLayer(ClusterLink& link, FrameObserver& observer, Clock& clock);

    // Receives every framed reply whose BCC matched, without its STX (DispatchReply).
    void SetDispatcher(std::function<void(const std::string& payload)> dispatch);

    // Whether a transaction is on the line. One whose bound has passed ends here, unanswered,
    // unless the watchdog runs.
    bool CommsBusy();
    // The polling timer's watchdog: whether it runs, and its step of one tick.
    void SetWatchdogRunning(bool running) { watchdogRunning_ = running; }
    void WatchdogTick();
    // Sends the question's frame as one transaction, bounded by `boundMs`, when the link is
    // idle. Its number, or nothing when the link is busy or the frame does not fit the buffer.
    // The end of an awaited transaction is kept until its waiter takes it.
    std::optional<std::uint64_t> Transmit(const Question& question, std::uint32_t boundMs,
                                          bool awaited);
    // The end of an awaited transaction once it has ended; given once.
    std::optional<TransactionEnd> TakeEnd(std::uint64_t transaction);
    // Its waiter has stopped waiting: its end is not kept. The transaction itself stays on the
    // line until it ends, so its reply never meets another frame.
    void Forget(std::uint64_t transaction);

    // The device behind the link was opened afresh: what was asked before cannot be answered,
    // so the transaction on the line ends unanswered.
    void LinkRestarted() { EndTransaction(TransactionEnd::How::Expired); }

    // The receive handler of the port's received-cluster event.
    void SerialPort1RxClusterEvent();

    // The reply bookkeeping: indicator green, outstanding count lowered (never below 0).
    void CountReply();

    static bool CheckBcc(std::string_view cluster);
    // Whether the bytes received so far are one whole reply and nothing more: a frame of at
    // most kMaxCluster bytes ending with the check byte after its first ETX, the check
    // passing, or a lone acknowledge. The serial port ends a cluster on it.
    static bool IsCompleteReply(std::string_view received);

    int OutstandingCount() const { return outstanding_; }
    void ResetOutstandingCount();
    int BccErrorCount() const { return bccErrors_; }
    void ResetBccErrorCount();
    // Every frame handed to the port since start.
    std::uint64_t TransmittedFrameCount() const { return transmitted_; }
    // Framed clusters (starting with STX) over 255 characters, refused without dispatch.
    int OversizeClusterCount() const { return oversize_; }
    // Steps of the receive handler that threw (a reply handler, the comms log write); each
    // failure ended only its step, and reception went on.
    int HandlerFailureCount() const { return handlerFailures_; }

    // "Diagnostic Level" bit 0x10: received clusters are echoed on the diagnostic line.
    void SetDiagnosticEcho(bool on) { diagnosticEcho_ = on; }

private:
    struct Transaction {
        std::uint64_t number = 0;
        Expectation answer;
        std::uint32_t sentAt = 0;
        std::uint32_t boundMs = 0;
        bool awaited = false;
    };

    // Hands exactly the frame's bytes to the port through the transmit buffer, counts an
    // outstanding request, turns the indicator grey and writes the frame on the diagnostic line.
    void TransmitFrame(std::string_view frame);
    void EchoReceived(const std::string& cluster, bool lineError);
    // What the cluster does to the open transaction, once it has been handled.
    void HandleCluster(const std::string& cluster);
    void EndTransaction(TransactionEnd::How how, std::string reply = {});
    void ReportFailure(const std::string& what);
    template <typename Step> void Contain(Step step);

    ClusterLink& link_;
    FrameObserver& observer_;
    Clock& clock_;
    std::function<void(const std::string&)> dispatch_;
    std::array<char, kTxBufferSize> txBuffer_{};
    std::optional<Transaction> open_;
    BusyWatchdog watchdog_;
    bool watchdogRunning_ = false;
    // Ends of awaited transactions not yet taken; waits nest, so more than one can be pending.
    std::map<std::uint64_t, TransactionEnd> ends_;
    int outstanding_ = 0;
    std::uint64_t transmitted_ = 0;
    int bccErrors_ = 0;
    int oversize_ = 0;
    int handlerFailures_ = 0;
    bool diagnosticEcho_ = false;
};

} // namespace protocol
