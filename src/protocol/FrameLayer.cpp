#include "FrameLayer.h"

#include "FrameCharacters.h"

#include <algorithm>
#include <exception>

namespace {

// The time patterns of the received-cluster log line and of its echo on the diagnostic line.
const std::string kLogLinePattern = "dd.mm.yy hh:mm:ss\" :\"";
const std::string kEchoPattern = "\"Rec  \" dd.mm.yy hh:mm:ss\" :\"";
const std::string kEchoLineErrorPattern = "\"RecX \" dd.mm.yy hh:mm:ss\" :\"";

} // namespace

std::string RequestFrame(std::string_view payload) {
    std::string frame{kEot, kStx};
    frame.append(payload);
    frame.push_back(kEtx);
    char bcc = 0;
    for (std::size_t i = 2; i < frame.size(); ++i) {
        bcc = static_cast<char>(bcc ^ frame[i]);
    }
    frame.push_back(bcc);
    return frame;
}

FrameLayer::FrameLayer(ClusterLink& link, FrameObserver& observer)
    : link_(link), observer_(observer) {}

void FrameLayer::SetDispatcher(std::function<void(const std::string& payload)> dispatch) {
    dispatch_ = std::move(dispatch);
}

void FrameLayer::WaitWhileBusy() {
    while (commsBusy_) {
        observer_.ProcessMessages();
    }
}

void FrameLayer::SendPoll(char c) {
    WaitWhileBusy();
    txBuffer_[0] = kEot;
    txBuffer_[1] = c;
    txBuffer_[2] = kEnq;
    TransmitFrame(3);
    commsBusy_ = true;
}

bool FrameLayer::SendRequest(const std::string& payload) {
    if (payload.size() > kMaxPayload) {
        return false;
    }
    WaitWhileBusy();
    const std::string frame = RequestFrame(payload);
    std::copy(frame.begin(), frame.end(), txBuffer_.begin());
    TransmitFrame(frame.size());
    commsBusy_ = true;
    return true;
}

void FrameLayer::PollIfIdle(char c) {
    if (!commsBusy_) {
        SendPoll(c);
    }
}

void FrameLayer::TransmitFrame(std::size_t n) {
    const std::string frame(txBuffer_.data(), std::min(n, txBuffer_.size()));
    link_.SendText(frame);
    ++transmitted_;
    ++outstanding_;
    observer_.ShowCommsCount(outstanding_);
    observer_.ShowOnline(false);
    observer_.ShowDiagnosticLine("comms: " + frame);
}

bool FrameLayer::TransmitExtendedPoll(std::string_view frame) {
    if (frame.size() > txBuffer_.size()) {
        return false;
    }
    std::copy(frame.begin(), frame.end(), txBuffer_.begin());
    TransmitFrame(frame.size());
    return true;
}

template <typename Step> void FrameLayer::Contain(Step step) {
    try {
        step();
    } catch (const std::exception& failure) {
        ReportFailure(failure.what());
    } catch (...) {
        ReportFailure("unknown failure");
    }
}

void FrameLayer::SerialPort1RxClusterEvent() {
    // Runs inside the serial port's hand-over: whatever fails here must not leave it, and the
    // link is free again afterwards in every case.
    std::string cluster;
    bool taken = false;
    bool lineError = false;
    Contain([&] {
        if (link_.PeekClusterSize() >= 0) {
            // The line-error flags are asked before the cluster is taken, so that they are
            // this cluster's own.
            lineError = diagnosticEcho_ && link_.PeekClusterError() > 0;
            cluster = link_.TakeClusterText();
            taken = true;
        }
    });
    if (taken) {
        Contain([&] { EchoReceived(cluster, lineError); });
        Contain([&] { HandleCluster(cluster); });
    }
    commsBusy_ = false;
}

void FrameLayer::EchoReceived(const std::string& cluster, bool lineError) {
    if (diagnosticEcho_) {
        observer_.ShowDiagnosticLine(
            observer_.FormatNow(lineError ? kEchoLineErrorPattern : kEchoPattern) + cluster);
    }
    if (observer_.CommsLogActive()) {
        observer_.WriteCommsLogLine(observer_.FormatNow(kLogLinePattern) + cluster);
    }
}

void FrameLayer::HandleCluster(const std::string& cluster) {
    if (cluster.empty()) {
        return;
    }
    if (cluster.front() != kStx) {
        // An answer without a frame has no check to run, so its length does not matter.
        CountReply();
        return;
    }
    if (cluster.size() > kMaxCluster) {
        ++oversize_;
        observer_.ShowDiagnosticLine("oversize cluster dropped: " + std::to_string(cluster.size()) +
                                     " characters");
        return;
    }
    if (!CheckBcc(cluster)) {
        ++bccErrors_;
        observer_.ShowBccErrorCount(bccErrors_);
        return;
    }
    if (dispatch_) {
        dispatch_(cluster.substr(1));
    }
}

void FrameLayer::CountReply() {
    observer_.ShowOnline(true);
    if (outstanding_ > 0) {
        --outstanding_;
    }
    observer_.ShowCommsCount(outstanding_);
}

bool FrameLayer::CheckBcc(std::string_view cluster) {
    if (cluster.empty()) {
        return false;
    }
    // The check byte follows the first ETX; without an ETX before it, the last byte is the
    // check of everything between the STX and it.
    char acc = 0;
    std::size_t bccIndex = cluster.size() - 1;
    for (std::size_t i = 1; i + 1 < cluster.size(); ++i) {
        acc = static_cast<char>(acc ^ cluster[i]);
        if (cluster[i] == kEtx) {
            bccIndex = i + 1;
            break;
        }
    }
    return cluster[bccIndex] == acc;
}

bool FrameLayer::IsCompleteReply(std::string_view received) {
    if (received.size() == 1) {
        return received.front() == kAck;
    }
    if (received.size() < 3 || received.size() > kMaxCluster || received.front() != kStx) {
        return false;
    }
    return received.find(kEtx, 1) == received.size() - 2 && CheckBcc(received);
}

void FrameLayer::ResetOutstandingCount() {
    outstanding_ = 0;
    observer_.ShowCommsCount(outstanding_);
}

void FrameLayer::ResetBccErrorCount() {
    bccErrors_ = 0;
    observer_.ShowBccErrorCount(bccErrors_);
}

void FrameLayer::ReportFailure(const std::string& what) {
    ++handlerFailures_;
    try {
        observer_.ShowDiagnosticLine("cluster handling failed: " + what);
    } catch (...) {
        // The diagnostic line itself failed; the count above still tells.
    }
}
