#pragma once

#include "ClusterLink.h"
#include "FrameObserver.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

// A request as it goes on the line: EOT STX payload ETX BCC, the BCC being the XOR of the
// payload bytes and the ETX.
std::string RequestFrame(std::string_view payload);

// The only path between the windows and the serial port: frames polls and requests, keeps one
// transaction outstanding at a time, counts protocol faults, and checks every received
// cluster before it hands the payload to the dispatcher. Runs on the UI thread only.
class FrameLayer {
public:
    static constexpr std::size_t kTxBufferSize = 512;
    static constexpr std::size_t kMaxPayload = kTxBufferSize - 4;
    static constexpr std::size_t kMaxCluster = 255;

    FrameLayer(ClusterLink& link, FrameObserver& observer);

    // Receives every framed reply whose BCC matched, without its STX (DispatchReply).
    void SetDispatcher(std::function<void(const std::string& payload)> dispatch);

    // Waits (processing window messages) while the link is busy, then sends EOT c ENQ.
    void SendPoll(char c);
    // Waits while busy, then sends EOT STX payload ETX BCC. A payload over 508 characters is
    // refused at once, before anything is written or sent: the result is false.
    bool SendRequest(const std::string& payload);
    // Sends the poll only when the link is idle; never waits.
    void PollIfIdle(char c);
    // Processes window messages until CommsBusy clears. A sender that starts inside this wait
    // transmits as soon as the link is free, before the senders that started waiting earlier.
    void WaitWhileBusy();
    // Hands bytes 0..n-1 of TxBuffer to the port, counts an outstanding request, turns the
    // indicator grey and writes the frame on the diagnostic line. Leaves CommsBusy alone.
    // Never reads past the buffer: an n beyond it counts as the buffer's size.
    void TransmitFrame(std::size_t n);
    std::array<char, kTxBufferSize>& TxBuffer() { return txBuffer_; }
    // Composes a whole frame as it stands (an extended poll) at the start of TxBuffer and
    // transmits it. Neither waits nor sets CommsBusy; false, with nothing sent, when the frame
    // does not fit the buffer.
    bool TransmitExtendedPoll(std::string_view frame);

    // The receive handler of the port's received-cluster event.
    void SerialPort1RxClusterEvent();

    // The reply bookkeeping: indicator green, outstanding count lowered (never below 0).
    void CountReply();

    static bool CheckBcc(std::string_view cluster);
    // Whether the bytes received so far are one whole reply and nothing more: a frame of at
    // most kMaxCluster bytes ending with the check byte after its first ETX, the check
    // passing, or a lone acknowledge. The serial port ends a cluster on it.
    static bool IsCompleteReply(std::string_view received);

    bool CommsBusy() const { return commsBusy_; }
    void SetCommsBusy(bool busy) { commsBusy_ = busy; }

    int OutstandingCount() const { return outstanding_; }
    void ResetOutstandingCount();
    int BccErrorCount() const { return bccErrors_; }
    void ResetBccErrorCount();
    // Every frame handed to the port since start; the busy watchdog tells transactions apart by
    // it.
    std::uint64_t TransmittedFrameCount() const { return transmitted_; }
    // Framed clusters (starting with STX) over 255 characters, refused without dispatch.
    int OversizeClusterCount() const { return oversize_; }
    // Steps of the receive handler that threw (a reply handler, the comms log write); each
    // failure ended only its step, and reception went on.
    int HandlerFailureCount() const { return handlerFailures_; }

    // "Diagnostic Level" bit 0x10: received clusters are echoed on the diagnostic line.
    void SetDiagnosticEcho(bool on) { diagnosticEcho_ = on; }

private:
    void EchoReceived(const std::string& cluster, bool lineError);
    void HandleCluster(const std::string& cluster);
    void ReportFailure(const std::string& what);
    template <typename Step> void Contain(Step step);

    ClusterLink& link_;
    FrameObserver& observer_;
    std::function<void(const std::string&)> dispatch_;
    std::array<char, kTxBufferSize> txBuffer_{};
    bool commsBusy_ = false;
    int outstanding_ = 0;
    std::uint64_t transmitted_ = 0;
    int bccErrors_ = 0;
    int oversize_ = 0;
    int handlerFailures_ = 0;
    bool diagnosticEcho_ = false;
};
