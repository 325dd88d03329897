#include "WorkThread.h"

#include "Allowances.h"
#include "DeviceEvents.h"
#include "SerialDevice.h"

#include <cerrno>
#include <vector>

namespace {

constexpr std::uint32_t kDeviceWaitMilliseconds = 75;
constexpr std::uint32_t kIdleSleepMilliseconds = 200;
constexpr std::uint32_t kReopenTryMilliseconds = 1000;
// A status that keeps changing between two readings (a stream arriving while OnCommStat
// runs) must not keep the worker from reading it.
constexpr int kMostStatusReadings = 16;

} // namespace

TWorkThread::TWorkThread(TSerialPort& port)
    : port_(port), device_(*port.device_), thread_([this] { Body(); }) {}

TWorkThread::~TWorkThread() {
    RequestEnd();
    if (thread_.joinable()) {
        thread_.join();
    }
}

void TWorkThread::Body() {
    idleSince_ = port_.clock_.TickCount();
    serving_ = port_.active_;
    for (;;) {
        if (serving_) {
            ServingPass();
        } else {
            port_.workerRunning_ = false;
            if (port_.deviceLost_) {
                TryReopenEverySecond();
            }
            serving_ = port_.active_ && !port_.deviceLost_;
            port_.clock_.Sleep(kIdleSleepMilliseconds);
        }
        if (endRequested_ && !serving_) {
            break;
        }
    }
    port_.workerRunning_ = false;
}

void TWorkThread::ServingPass() {
    port_.workerRunning_ = true;
    if (DeviceUsable()) {
        StatusPoll();
    }
    SendCheck();
    if (DeviceUsable()) {
        ReadLook();
    } else {
        held_.clear(); // the device's queue went with it
    }
    if (port_.active_ || port_.sendInProgress_) {
        WaitOnDevice();
    }
    if (port_.active_ && device_.LostError() != 0) {
        LetGoOfDevice();
    } else if (!port_.active_ && !port_.sendInProgress_) {
        serving_ = false;
    }
}

bool TWorkThread::DeviceUsable() const {
    return port_.active_ && device_.LostError() == 0;
}

void TWorkThread::LetGoOfDevice() {
    // A send to a device that has gone never ends, and nothing of the device is touched from
    // now on, so a take-down need not wait for this worker.
    port_.sendInProgress_ = false;
    port_.workerRunning_ = false;
    serving_ = false;
    reopenTriedAt_ = port_.clock_.TickCount();
    RunOnPort(&TSerialPort::LetGoOfLostDevice);
}

void TWorkThread::TryReopenEverySecond() {
    const std::uint32_t now = port_.clock_.TickCount();
    if (now - reopenTriedAt_ >= kReopenTryMilliseconds) {
        reopenTriedAt_ = now;
        RunOnPort(&TSerialPort::ReopenLostDevice);
    }
}

std::uint32_t TWorkThread::StatusPoll() {
    std::uint32_t modem = 0;
    if (const int error = device_.GetModemStatus(modem)) {
        WorkerMessage(9905, error, "Error getting ModemStatus");
    } else {
        const bool ringChanged = ((modem ^ port_.modemState_) & ModemLine::kRing) != 0;
        port_.modemState_ = modem;
        port_.ctsState_ = (modem & ModemLine::kCts) != 0;
        port_.dsrState_ = (modem & ModemLine::kDsr) != 0;
        port_.rlsdState_ = (modem & ModemLine::kRlsd) != 0;
        port_.ringState_ = (modem & ModemLine::kRing) != 0;
        if (ringChanged) {
            HandOverEvent(&TSerialPort::OnRIEvent);
        }
    }
    std::uint32_t seen = 0;
    for (int reading = 0; reading < kMostStatusReadings && device_.LostError() == 0; ++reading) {
        DeviceStatus status;
        if (const int error = device_.ClearErrors(status)) {
            WorkerMessage(9803, error, "Error ClearCommError");
            break;
        }
        seen |= status.errors;
        const DeviceStatus last{port_.commError_, port_.commStateFlags_, port_.commStateInQueue_,
                                port_.commStateOutQueue_};
        if (status == last) {
            break;
        }
        port_.commError_ = status.errors;
        port_.commStateFlags_ = status.holdFlags;
        port_.commStateInQueue_ = status.inQueue;
        port_.commStateOutQueue_ = status.outQueue;
        HandOverEvent(&TSerialPort::OnCommStat);
    }
    clusterErrors_ |= seen;
    return seen;
}

void TWorkThread::SendCheck() {
    if (!port_.sendInProgress_) {
        return;
    }
    const WriteProgress progress = device_.ContinueWrite();
    switch (progress.state) {
    case WriteProgress::State::Completed:
        port_.writtenBytes_ = progress.written;
        port_.sendInProgress_ = false;
        if (progress.written != port_.sendBytes_) {
            // The device gave up part of the bytes: the send was cut short, not done.
            WorkerMessage(9701, lastError_, "Error write TimeOut");
        }
        HandOverEvent(&TSerialPort::OnWriteDone);
        break;
    case WriteProgress::State::Pending: {
        const std::uint32_t elapsed = port_.clock_.TickCount() - port_.sendStartTick_;
        if (elapsed >
            ByteAllowance(port_.sendBytes_, port_.wtoCharDelayTime_, port_.wtoExtraDelayTime_)) {
            port_.writtenBytes_ = progress.written;
            port_.sendInProgress_ = false;
            device_.AbandonWrite();
            WorkerMessage(9701, EAGAIN, "Error write TimeOut");
            HandOverEvent(&TSerialPort::OnWriteDone);
        }
        break;
    }
    case WriteProgress::State::Failed:
        port_.sendInProgress_ = false;
        device_.AbandonWrite();
        WorkerMessage(9702, progress.error, "Error getting Overlapped Result");
        HandOverEvent(&TSerialPort::OnWriteDone);
        break;
    }
}

void TWorkThread::ReadLook() {
    if (port_.EndsClustersOnReplies() || !held_.empty()) {
        ReadLookOnReplies();
        return;
    }
    const std::uint32_t queued = port_.commStateInQueue_;
    if (queued == 0) {
        QueueSeenEmpty();
        return;
    }
    if (!ClusterIsDue(LookAt(queued))) {
        return;
    }
    std::vector<char> buffer(queued);
    std::uint32_t got = 0;
    const int error = device_.Read(buffer.data(), queued, got);
    port_.readRequest_ = false;
    if (error) {
        WorkerMessage(9804, error, "Error reading Data");
        return;
    }
    MakeCluster(buffer.data(), got);
    idleSince_ = port_.clock_.TickCount();
}

// A device's queue cannot be looked into, so the bytes are taken as they arrive and judged
// here; for the time rule they still count as queued. What is not one whole reply closes as
// it always has.
void TWorkThread::ReadLookOnReplies() {
    TakeArrivedBytes();
    const std::uint32_t queued = static_cast<std::uint32_t>(held_.size()) + port_.commStateInQueue_;
    if (queued == 0) {
        QueueSeenEmpty();
        return;
    }
    const bool wholeReply = port_.commStateInQueue_ == 0 && port_.IsCompleteReply(held_);
    if (!wholeReply && !ClusterIsDue(LookAt(queued))) {
        return;
    }
    port_.readRequest_ = false;
    MakeCluster(held_.data(), static_cast<std::uint32_t>(held_.size()));
    held_.clear();
    idleSince_ = port_.clock_.TickCount();
}

void TWorkThread::TakeArrivedBytes() {
    const std::uint32_t waiting = port_.commStateInQueue_;
    if (waiting == 0) {
        return;
    }
    const std::size_t before = held_.size();
    held_.resize(before + waiting);
    std::uint32_t got = 0;
    const int error = device_.Read(held_.data() + before, waiting, got);
    held_.resize(before + got);
    if (error) {
        WorkerMessage(9804, error, "Error reading Data");
        return;
    }
    // Taken: the device's queue holds none of them any more, and new input ends the next wait.
    port_.commStateInQueue_ = 0;
}

void TWorkThread::QueueSeenEmpty() {
    idleSince_ = port_.clock_.TickCount();
    clusterErrors_ = 0;
}

ClusterLook TWorkThread::LookAt(std::uint32_t queued) const {
    ClusterLook look;
    look.queued = queued;
    look.now = port_.clock_.TickCount();
    look.idleSince = idleSince_;
    look.readRequest = port_.readRequest_;
    look.clusterSize = port_.clusterSize_;
    look.charDelay = port_.rtoCharDelayTime_;
    look.extraDelay = port_.rtoExtraDelayTime_;
    look.lineErrors = clusterErrors_;
    return look;
}

void TWorkThread::WaitOnDevice() {
    const std::uint32_t modemBefore = port_.modemState_;
    const std::uint32_t outQueueBefore = port_.commStateOutQueue_;
    // Input ends the wait only while the queue is empty: bytes already waiting for their
    // allowance would otherwise end every wait at once.
    const bool forInput = DeviceUsable() && port_.commStateInQueue_ == 0;
    const WaitOutcome outcome =
        device_.Wait(forInput, port_.sendInProgress_, kDeviceWaitMilliseconds);
    if (outcome.state == WaitOutcome::State::Failed) {
        WorkerMessage(9913, outcome.error, "Error getting Overlappedresult");
        return;
    }
    if (!DeviceUsable()) {
        return;
    }
    const std::uint32_t lineErrors = StatusPoll();
    const std::uint32_t events =
        DeviceEventsBetween(modemBefore, port_.modemState_, outQueueBefore,
                            port_.commStateOutQueue_, lineErrors, outcome.inputArrived) &
        device_.EventMask();
    if (events != 0) {
        DispatchEvents(events);
    }
}

void TWorkThread::DispatchEvents(std::uint32_t mask) {
    if (port_.destroying_) {
        return;
    }
    port_.commEvent_ = mask;
    static constexpr std::pair<std::uint32_t, TNotifyEvent TSerialPort::*> kOrder[] = {
        {DeviceEvent::kBreak, &TSerialPort::OnBreakEvent},
        {DeviceEvent::kCts, &TSerialPort::OnCTSEvent},
        {DeviceEvent::kDsr, &TSerialPort::OnDSREvent},
        {DeviceEvent::kLineError, &TSerialPort::OnLineErrorEvent},
        {DeviceEvent::kRing, &TSerialPort::OnRingEvent},
        {DeviceEvent::kRlsd, &TSerialPort::OnRLSDEvent},
        {DeviceEvent::kRxChar, &TSerialPort::OnRxCharEvent},
        {DeviceEvent::kRxEventChar, &TSerialPort::OnRxEventCharEvent},
        {DeviceEvent::kTxEmpty, &TSerialPort::OnTxQueueEmptyEvent},
    };
    for (const auto& [bit, handler] : kOrder) {
        if (mask & bit) {
            HandOverEvent(handler);
        }
    }
    HandOverEvent(&TSerialPort::OnCommEvent);
}

void TWorkThread::MakeCluster(const char* data, std::uint32_t count) {
    if (port_.destroying_) {
        return;
    }
    {
        std::lock_guard lock(port_.clusterLock_);
        port_.clusters_.push_back(std::make_unique<TSerialCluster>(data, count, clusterErrors_));
    }
    clusterErrors_ = 0;
    HandOverEvent(&TSerialPort::OnRxClusterEvent);
}

void TWorkThread::WorkerMessage(std::uint32_t place, std::uint32_t code, const std::string& msg) {
    lastError_ = code;
    // A message nobody reads must not hold the worker: the UI thread may be waiting for it
    // to go idle (closing the port) without running hand-overs. A failure that is the device
    // going away is reported once, as that.
    if (port_.processErrorBound_ && device_.LostError() == 0) {
        HandOver([this, place, code, msg] { port_.Report(place, code, msg, 0); });
    }
}

void TWorkThread::HandOverEvent(TNotifyEvent TSerialPort::*handler) {
    if (port_.boundEvents_ & TSerialPort::EventBit(handler)) {
        HandOver([this, handler] {
            // A copy: the handler may rebind itself while it runs.
            if (const TNotifyEvent bound = port_.*handler) {
                bound(port_);
            }
        });
    }
}

void TWorkThread::HandOver(std::function<void()> call) {
    if (!port_.threadQuietMode_) {
        port_.handOver_.RunOnUiThread(
            [this, call = std::move(call)] {
                call();
                port_.NoteBoundEvents();
            },
            port_.handOverRelease_.get_token());
    }
}

void TWorkThread::RunOnPort(void (TSerialPort::*operation)()) {
    port_.handOver_.RunOnUiThread([this, operation] { (port_.*operation)(); },
                                  port_.handOverRelease_.get_token());
}
