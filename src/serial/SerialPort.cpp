#include "SerialPort.h"

#include "Allowances.h"
#include "DeviceEvents.h"
#include "SerialDevice.h"
#include "WorkThread.h"

#include <iterator>

namespace {

constexpr std::uint8_t kHighestLimitPercent = 100;
constexpr std::uint32_t kIdleCheckMilliseconds = 75;
constexpr int kTakeDownIdleChecks = 15;
constexpr int kDestructionIdleChecks = 10;

using EventSlot = TNotifyEvent TSerialPort::*;
// clang-format off
constexpr EventSlot kEventSlots[] = {
    &TSerialPort::OnRxClusterEvent, &TSerialPort::OnWriteDone,      &TSerialPort::OnCommEvent,
    &TSerialPort::OnCommStat,       &TSerialPort::OnTxQueueEmptyEvent, &TSerialPort::OnBreakEvent,
    &TSerialPort::OnCTSEvent,       &TSerialPort::OnDSREvent,       &TSerialPort::OnLineErrorEvent,
    &TSerialPort::OnRingEvent,      &TSerialPort::OnRIEvent,        &TSerialPort::OnRLSDEvent,
    &TSerialPort::OnRxCharEvent,    &TSerialPort::OnRxEventCharEvent,
};
// clang-format on

} // namespace

TSerialPort::TSerialPort(UiHandOver& handOver, Clock& clock)
    : TSerialPort(handOver, clock, MakeSystemSerialDevice()) {}

TSerialPort::TSerialPort(UiHandOver& handOver, Clock& clock, std::unique_ptr<SerialDevice> device)
    : clock_(clock), handOver_(handOver), device_(std::move(device)) {
    worker_ = std::make_unique<TWorkThread>(*this);
}

TSerialPort::~TSerialPort() {
    destroying_ = true;
    // A worker blocked in a hand-over that the UI thread is not running gets free at once.
    handOverRelease_.request_stop();
    if (device_->IsOpen()) {
        TakeDown();
    }
    worker_->RequestEnd();
    WaitForWorkerIdle(kDestructionIdleChecks);
    worker_.reset();
}

void TSerialPort::SetActive(bool active) {
    if (active != active_) {
        Reopen(active);
    }
}

// The name is kept whole: a cut path could name another device, and the system itself refuses
// a path longer than it allows.
void TSerialPort::SetCommPort(const std::string& name) {
    if (name != commPort_) {
        commPort_ = name;
        Reopen(active_);
    }
}

void TSerialPort::Reopen(bool open) {
    if (device_->IsOpen()) {
        TakeDown();
    }
    // A device that went away is no longer waited for.
    active_ = false;
    deviceLost_ = false;
    if (open) {
        BringUp();
    }
}

void TSerialPort::TakeDown() {
    Report(100, 0, "Msg start deactivating Port", 2);
    if (const int error = device_->SetEventMask(0)) {
        Report(101, error, "Error disabling CommEvents", 0);
    }
    active_ = false;
    if (const int error = device_->Purge()) {
        Report(102, error, "Error clearing Queues", 0);
    }
    WaitForWorkerIdle(kTakeDownIdleChecks);
    if (workerRunning_) {
        Report(104, 0, "Warning ThreadIsRunning", 1);
    }
    SetDTRState(false);
    SetRTSState(false);
    if (const int error = device_->Close()) {
        Report(103, error, "Error closing Port", 0);
    }
}

void TSerialPort::BringUp() {
    Report(110, 0, "Msg start reactivating Port", 2);
    NoteBoundEvents();
    const int error = device_->Open(OpenedPath());
    active_ = error == 0;
    if (error) {
        Report(112, error, "Error reopening Port", 0);
        return;
    }
    identity_ = IdentifyDevice(OpenedPath());
    lastRefusal_.clear();
    ConfigureDevice();
}

std::string TSerialPort::OpenedPath() const {
    return DevicePath(commPort_);
}

void TSerialPort::ConfigureDevice() {
    if (const int queueError = device_->SetQueueSizes(line_.rxQueueSize, txQueueSize_)) {
        Report(111, queueError, "Error setup Queuesize", 0);
    }
    ApplyLineSettings();
    SetDTRState(true);
    SetRTSState(true);
    if (const int maskError = device_->SetEventMask(DeviceEvent::kAll)) {
        Report(201, maskError, "Error activating CommEventMask", 0);
    }
}

void TSerialPort::LetGoOfLostDevice() {
    const int error = device_->LostError();
    // Closed or replaced meanwhile: nothing is lost any more.
    if (!active_ || error == 0 || !device_->IsOpen()) {
        return;
    }
    deviceLost_ = true;
    // Closed at once, so the device's node and name are free for it when it comes back; a device
    // that has gone is neither purged nor driven.
    device_->Close();
    Report(120, static_cast<std::uint32_t>(error), "Error device lost", 0);
    if (OnDeviceLost) {
        OnDeviceLost(*this);
    }
}

void TSerialPort::ReopenLostDevice() {
    if (!deviceLost_ || !active_ || destroying_) {
        return;
    }
    const ReturningDevice returning = JudgeReturningDevice(identity_, OpenedPath());
    if (returning.verdict == ReturningDevice::Verdict::Refuse && returning.reason != lastRefusal_) {
        lastRefusal_ = returning.reason;
        Report(122, 0, "Error device not taken: " + returning.reason, 0);
    }
    if (returning.verdict != ReturningDevice::Verdict::Open || device_->Open(OpenedPath()) != 0) {
        return; // still away: the next try comes in a second, without a word
    }
    lastRefusal_.clear();
    NoteBoundEvents();
    ConfigureDevice();
    deviceLost_ = false;
    Report(121, 0, "Msg device reopened", 2);
    if (OnDeviceBack) {
        OnDeviceBack(*this);
    }
}

void TSerialPort::WaitForWorkerIdle(int sleeps) {
    for (int i = 0; i < sleeps && workerRunning_; ++i) {
        clock_.Sleep(kIdleCheckMilliseconds);
    }
}

void TSerialPort::SetCompleteReplyRule(TCompleteReplyRule rule) {
    std::lock_guard lock(completeReplyLock_);
    completeReply_ = std::move(rule);
    completeReplyRuleSet_ = static_cast<bool>(completeReply_);
}

bool TSerialPort::IsCompleteReply(std::string_view received) {
    std::lock_guard lock(completeReplyLock_);
    return clusterOnFrame_ && completeReply_ && completeReply_(received);
}

void TSerialPort::ApplyLineSettings() {
    if (!device_->IsOpen()) {
        return;
    }
    LineSettings current;
    if (const int error = device_->GetLineSettings(current)) {
        Report(801, error, "Error getting DCB from CommState", 0);
        return;
    }
    if (const int error = device_->SetLineSettings(BuildLineSettings(current, line_))) {
        Report(802, error, "Error setting CommState, 87 indicate that Parms are incorrect", 0);
    }
}

template <typename T> void TSerialPort::StoreAndReapply(T& property, T value) {
    if (property == value) {
        return;
    }
    property = value;
    ApplyLineSettings();
}

void TSerialPort::SetBaudRate(std::uint32_t baudRate) {
    if (baudRate == line_.baudRate) {
        return;
    }
    line_.baudRate = baudRate;
    if (xtoAuto_) {
        ApplyAutomaticAllowances();
    }
    ApplyLineSettings();
}

void TSerialPort::ApplyAutomaticAllowances() {
    const std::uint32_t delay = AutomaticCharDelay(line_.baudRate);
    rtoCharDelayTime_ = delay;
    SetWTOCharDelayTime(delay);
}

void TSerialPort::SetParityType(std::uint8_t parityType) {
    StoreAndReapply(line_.parityType, parityType);
}
void TSerialPort::SetParityErrorChar(char character) {
    StoreAndReapply(line_.parityErrorChar, character);
}
void TSerialPort::SetParityErrorReplacement(bool on) {
    StoreAndReapply(line_.parityErrorReplacement, on);
}
void TSerialPort::SetStopBits(std::uint8_t stopBits) {
    StoreAndReapply(line_.stopBits, stopBits);
}
void TSerialPort::SetDataBits(std::uint8_t dataBits) {
    StoreAndReapply(line_.dataBits, dataBits);
}
void TSerialPort::SetXONChar(char character) {
    StoreAndReapply(line_.xonChar, character);
}
void TSerialPort::SetXOFFChar(char character) {
    StoreAndReapply(line_.xoffChar, character);
}
void TSerialPort::SetFlowControl(std::int32_t flags) {
    StoreAndReapply(line_.flowControl, flags);
}
void TSerialPort::SetStripNullChars(bool on) {
    StoreAndReapply(line_.stripNullChars, on);
}
void TSerialPort::SetEventChar(char character) {
    StoreAndReapply(line_.eventChar, character);
}

void TSerialPort::SetXONLimDiv(std::uint8_t percent) {
    SetFlowLimit(line_.xonLimDiv, percent, "Warning XOnLimDef set to 100");
}

void TSerialPort::SetXOFFLimDiv(std::uint8_t percent) {
    SetFlowLimit(line_.xoffLimDiv, percent, "Warning XOffLimDef set to 100");
}

void TSerialPort::SetFlowLimit(std::uint8_t& property, std::uint8_t percent, const char* warning) {
    if (percent == property) {
        return;
    }
    if (percent > kHighestLimitPercent) {
        Report(100, percent, warning, 1);
        percent = kHighestLimitPercent;
    }
    property = percent;
    ApplyLineSettings();
}

void TSerialPort::SetRxQueueSize(std::uint16_t bytes) {
    if (bytes != line_.rxQueueSize) {
        line_.rxQueueSize = bytes;
        ApplyQueueSizes(101);
    }
}

void TSerialPort::SetTxQueueSize(std::uint16_t bytes) {
    if (bytes != txQueueSize_) {
        txQueueSize_ = bytes;
        ApplyQueueSizes(102);
    }
}

void TSerialPort::ApplyQueueSizes(std::uint32_t place) {
    if (const int error = device_->SetQueueSizes(line_.rxQueueSize, txQueueSize_)) {
        Report(place, error, "Error can not set Quesize", 0);
    }
}

void TSerialPort::SetWTOCharDelayTime(std::uint32_t microseconds) {
    if (microseconds != wtoCharDelayTime_) {
        wtoCharDelayTime_ = microseconds;
        ApplyLineSettings();
    }
}

void TSerialPort::SetWTOExtraDelayTime(std::uint16_t milliseconds) {
    if (milliseconds != wtoExtraDelayTime_) {
        wtoExtraDelayTime_ = milliseconds;
        ApplyLineSettings();
    }
}

void TSerialPort::SetXTOAuto(bool on) {
    if (on == xtoAuto_) {
        return;
    }
    xtoAuto_ = on;
    if (on) {
        ApplyAutomaticAllowances();
    }
}

void TSerialPort::SetRTSState(bool raised) {
    DriveOutput(rtsState_, raised, &SerialDevice::SetRts, {501, "Error setting RTS"},
                {502, "Error clearing RTS"});
}

void TSerialPort::SetDTRState(bool raised) {
    DriveOutput(dtrState_, raised, &SerialDevice::SetDtr, {601, "Error setting DTR"},
                {602, "Error clearing DTR"});
}

void TSerialPort::SetBREAKState(bool on) {
    DriveOutput(breakState_, on, &SerialDevice::SetBreak, {701, "Error setting BREAK State"},
                {702, "Error clearing BREAK State"});
}

void TSerialPort::DriveOutput(bool& state, bool on, int (SerialDevice::*drive)(bool),
                              const OutputFailure& settingFailed,
                              const OutputFailure& clearingFailed) {
    if (!device_->IsOpen()) {
        return;
    }
    if (const int error = ((*device_).*drive)(on)) {
        const OutputFailure& failure = on ? settingFailed : clearingFailed;
        Report(failure.place, error, failure.msg, 0);
    }
    state = on;
}

std::uint32_t TSerialPort::ComHandle() const {
    return device_->Handle();
}

void TSerialPort::SendData(const char* buffer, std::uint32_t count) {
    if (sendInProgress_) {
        Report(901, 0, "Msg, dont enter SendData while SendInProgress is set", 2);
        return;
    }
    if (deviceLost_) {
        return; // reported once when it went
    }
    NoteBoundEvents();
    sendBytes_ = count;
    const WriteProgress progress = device_->StartWrite(buffer, count);
    switch (progress.state) {
    case WriteProgress::State::Completed:
        writtenBytes_ = progress.written;
        if (OnWriteDone) {
            OnWriteDone(*this);
        }
        break;
    case WriteProgress::State::Pending:
        sendStartTick_ = clock_.TickCount();
        sendInProgress_ = true;
        break;
    case WriteProgress::State::Failed:
        // A device that has just gone is reported once, by the worker.
        if (device_->LostError() == 0) {
            Report(903, progress.error, "Error writing Data", 0);
        }
        device_->AbandonWrite();
        break;
    }
}

void TSerialPort::SendText(const std::string& text) {
    if (!text.empty()) {
        SendData(text.data(), static_cast<std::uint32_t>(text.size()));
    }
}

std::int32_t TSerialPort::PeekClusterSize() {
    std::lock_guard lock(clusterLock_);
    return clusters_.empty() ? -1 : static_cast<std::int32_t>(clusters_.front()->Size());
}

std::int32_t TSerialPort::PeekClusterError() {
    std::lock_guard lock(clusterLock_);
    return clusters_.empty() ? -1 : static_cast<std::int32_t>(clusters_.front()->ErrorFlags());
}

std::string TSerialPort::TakeClusterText() {
    std::lock_guard lock(clusterLock_);
    if (clusters_.empty()) {
        return {};
    }
    std::string text = clusters_.front()->Text();
    clusters_.pop_front();
    return text;
}

void TSerialPort::Report(std::uint32_t place, std::uint32_t code, const std::string& msg,
                         std::uint8_t noise) {
    if (!destroying_ && noise <= errorNoise_ && OnProcessError) {
        OnProcessError(*this, place, code, msg, noise);
    }
}

std::uint32_t TSerialPort::EventBit(TNotifyEvent TSerialPort::*handler) {
    for (std::uint32_t i = 0; i < std::size(kEventSlots); ++i) {
        if (kEventSlots[i] == handler) {
            return 1u << i;
        }
    }
    return 0;
}

void TSerialPort::NoteBoundEvents() {
    std::uint32_t bound = 0;
    for (const EventSlot slot : kEventSlots) {
        if (this->*slot) {
            bound |= EventBit(slot);
        }
    }
    boundEvents_ = bound;
    processErrorBound_ = static_cast<bool>(OnProcessError);
}
