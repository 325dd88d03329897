#include "FrameLayer.h"

#include "FrameCharacters.h"

#include <algorithm>
#include <exception>

namespace protocol {

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

FrameLayer::FrameLayer(ClusterLink& link, FrameObserver& observer, Clock& clock)
    : link_(link), observer_(observer), clock_(clock) {}

void FrameLayer::SetDispatcher(std::function<void(const std::string& payload)> dispatch) {
    dispatch_ = std::move(dispatch);
}

bool FrameLayer::CommsBusy() {
    // Unsigned difference: right across the wrap of the 32-bit tick.
    if (open_ && !watchdogRunning_ && clock_.TickCount() - open_->sentAt >= open_->boundMs) {
        EndTransaction(TransactionEnd::How::Expired);
    }
    return open_.has_value();
}

void FrameLayer::WatchdogTick() {
    if (watchdog_.Tick(open_.has_value(), transmitted_)) {
        EndTransaction(TransactionEnd::How::Expired);
    }
}

std::optional<std::uint64_t> FrameLayer::Transmit(const Question& question, std::uint32_t boundMs,
                                                  bool awaited) {
    if (CommsBusy() || question.frame.size() > txBuffer_.size()) {
        return std::nullopt;
    }
    const std::uint64_t number = transmitted_ + 1;
    open_ = Transaction{number, question.answer, clock_.TickCount(), boundMs, awaited};
    TransmitFrame(question.frame);
    return number;
}

std::optional<TransactionEnd> FrameLayer::TakeEnd(std::uint64_t transaction) {
    CommsBusy();
    const auto end = ends_.find(transaction);
    if (end == ends_.end()) {
        return std::nullopt;
    }
    TransactionEnd taken = std::move(end->second);
    ends_.erase(end);
    return taken;
}

void FrameLayer::Forget(std::uint64_t transaction) {
    ends_.erase(transaction);
    if (open_ && open_->number == transaction) {
        open_->awaited = false;
    }
}

void FrameLayer::EndTransaction(TransactionEnd::How how, std::string reply) {
    if (!open_) {
        return;
    }
    if (open_->awaited) {
        ends_[open_->number] = {how, std::move(reply)};
    }
    open_.reset();
}

void FrameLayer::TransmitFrame(std::string_view frame) {
    std::copy(frame.begin(), frame.end(), txBuffer_.begin());
    const std::string sent(txBuffer_.data(), frame.size());
    link_.SendText(sent);
    ++transmitted_;
    ++outstanding_;
    observer_.ShowCommsCount(outstanding_);
    observer_.ShowOnline(false);
    observer_.ShowDiagnosticLine("comms: " + sent);
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
    // Whatever this event brought, a transaction it did not answer cannot stay open on it:
    // only a well-formed reply to something else leaves the wait going.
    if (!taken || cluster.empty()) {
        EndTransaction(TransactionEnd::How::Unreadable);
    }
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
        const bool answers = open_ && open_->answer.anyCluster;
        EndTransaction(answers ? TransactionEnd::How::Answered : TransactionEnd::How::Unreadable,
                       cluster);
        return;
    }
    if (cluster.size() > kMaxCluster) {
        ++oversize_;
        observer_.ShowDiagnosticLine("oversize cluster dropped: " + std::to_string(cluster.size()) +
                                     " characters");
        EndTransaction(TransactionEnd::How::Unreadable);
        return;
    }
    if (!CheckBcc(cluster)) {
        ++bccErrors_;
        observer_.ShowBccErrorCount(bccErrors_);
        EndTransaction(TransactionEnd::How::Unreadable);
        return;
    }
    std::string payload = cluster.substr(1);
    // The transaction ends before the handlers run, so one of them may start the next.
    if (open_ && open_->answer.Matches(payload)) {
        EndTransaction(TransactionEnd::How::Answered, payload);
    }
    if (dispatch_) {
        dispatch_(payload);
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

} // namespace protocol
