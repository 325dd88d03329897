#pragma once

#include "base/Clock.h"
#include "base/SettingsStore.h"
#include "serial/DeviceIdentity.h"
#include "serial/LineSettings.h"
#include "serial/SerialCluster.h"
#include "serial/UiHandOver.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <stop_token>
#include <string>
#include <string_view>

class SerialDevice;
class TSerialPort;
class TWorkThread;

// Hold and status flags of the device; TComStateFlags holds bit (1 << flag) for each.
enum class TComStateFlag : std::uint8_t {
    fCtlHold,
    fDsrHold,
    fRlsHold,
    fXoffHold,
    fXOffSent,
    fEof,
    fTxim
};
using TComStateFlags = std::uint8_t;

using TNotifyEvent = std::function<void(TSerialPort& sender)>;
// Whether the bytes received so far are one whole reply of the line's protocol; handed to the
// port by the owner of the protocol, called on the worker's thread.
using TCompleteReplyRule = std::function<bool(std::string_view received)>;
// Place: the number of the message; Code: a platform error code or the value the message
// names; Noise: 0 error, 1 warning, 2 message.
using TNotifyErrorEvent =
    std::function<void(TSerialPort& sender, std::uint32_t place, std::uint32_t code,
                       const std::string& msg, std::uint8_t noise)>;

// One serial device: opens and closes it, applies the line settings, sends byte strings under
// a time-out, drives RTS, DTR and break, and keeps the queue of received clusters that its
// worker thread fills. Every failure is reported as a numbered message through
// OnProcessError; nothing throws.
//
// A device that goes away while the port is open (unplugged, hung up) is closed, reported once
// (message 120, OnDeviceLost) and opened again on the same path as soon as it opens, tried
// about once a second without a word (message 121, OnDeviceBack); the port stays Active
// meanwhile, and what is sent is dropped. Only the same device is opened again (see
// DeviceIdentity): another one that took the path is left alone, and why is reported once per
// reason (message 122).
//
// Threads: every operation, setter and handler runs on the UI thread. The worker hands each
// cluster, device event and message of its own to the UI thread through the UiHandOver and
// waits until the handler has run. The worker hands over only the events and messages that had
// a handler when the port was opened, at the last send or after the last hand-over: bind the
// handlers before opening the port. Letting go of a device that went away and opening it again
// are the port's own work on the UI thread, handed over also in quiet mode.
class TSerialPort {
public:
    explicit TSerialPort(UiHandOver& handOver, Clock& clock = SystemClock());
    // On another device than the system's serial ports (the built-in simulator's).
    TSerialPort(UiHandOver& handOver, Clock& clock, std::unique_ptr<SerialDevice> device);
    ~TSerialPort();
    TSerialPort(const TSerialPort&) = delete;
    TSerialPort& operator=(const TSerialPort&) = delete;

    // --- Configuration ---
    bool Active() const { return active_; }
    void SetActive(bool active);
    const std::string& CommPort() const { return commPort_; }
    void SetCommPort(const std::string& name);
    std::uint32_t BaudRate() const { return line_.baudRate; }
    void SetBaudRate(std::uint32_t baudRate);
    std::uint8_t ParityType() const { return line_.parityType; }
    void SetParityType(std::uint8_t parityType);
    char ParityErrorChar() const { return line_.parityErrorChar; }
    void SetParityErrorChar(char character);
    bool ParityErrorReplacement() const { return line_.parityErrorReplacement; }
    void SetParityErrorReplacement(bool on);
    std::uint8_t StopBits() const { return line_.stopBits; }
    void SetStopBits(std::uint8_t stopBits);
    std::uint8_t DataBits() const { return line_.dataBits; }
    void SetDataBits(std::uint8_t dataBits);
    char XONChar() const { return line_.xonChar; }
    void SetXONChar(char character);
    char XOFFChar() const { return line_.xoffChar; }
    void SetXOFFChar(char character);
    std::uint8_t XONLimDiv() const { return line_.xonLimDiv; }
    void SetXONLimDiv(std::uint8_t percent);
    std::uint8_t XOFFLimDiv() const { return line_.xoffLimDiv; }
    void SetXOFFLimDiv(std::uint8_t percent);
    std::int32_t FlowControl() const { return line_.flowControl; }
    void SetFlowControl(std::int32_t flags);
    bool StripNullChars() const { return line_.stripNullChars; }
    void SetStripNullChars(bool on);
    char EventChar() const { return line_.eventChar; }
    void SetEventChar(char character);
    std::uint32_t RTOCharDelayTime() const { return rtoCharDelayTime_; }
    void SetRTOCharDelayTime(std::uint32_t microseconds) { rtoCharDelayTime_ = microseconds; }
    std::uint16_t RTOExtraDelayTime() const { return rtoExtraDelayTime_; }
    void SetRTOExtraDelayTime(std::uint16_t milliseconds) { rtoExtraDelayTime_ = milliseconds; }
    std::uint16_t ClusterSize() const { return clusterSize_; }
    void SetClusterSize(std::uint16_t bytes) { clusterSize_ = bytes; }
    // While on, and a complete-reply rule is set, a cluster also ends as soon as the bytes
    // received form one whole reply.
    bool ClusterOnFrame() const { return clusterOnFrame_; }
    void SetClusterOnFrame(bool on) { clusterOnFrame_ = on; }
    void SetCompleteReplyRule(TCompleteReplyRule rule);
    std::uint16_t RxQueueSize() const { return line_.rxQueueSize; }
    void SetRxQueueSize(std::uint16_t bytes);
    std::uint16_t TxQueueSize() const { return txQueueSize_; }
    void SetTxQueueSize(std::uint16_t bytes);
    std::uint32_t WTOCharDelayTime() const { return wtoCharDelayTime_; }
    void SetWTOCharDelayTime(std::uint32_t microseconds);
    std::uint16_t WTOExtraDelayTime() const { return wtoExtraDelayTime_; }
    void SetWTOExtraDelayTime(std::uint16_t milliseconds);
    bool XTOAuto() const { return xtoAuto_; }
    void SetXTOAuto(bool on);
    bool RTSState() const { return rtsState_; }
    void SetRTSState(bool raised);
    bool DTRState() const { return dtrState_; }
    void SetDTRState(bool raised);
    bool BREAKState() const { return breakState_; }
    void SetBREAKState(bool on);
    std::uint8_t ErrorNoise() const { return errorNoise_; }
    void SetErrorNoise(std::uint8_t noise) { errorNoise_ = noise; }
    bool ReadRequest() const { return readRequest_; }
    void SetReadRequest(bool on) { readRequest_ = on; }
    bool ThreadQuietMode() const { return threadQuietMode_; }
    void SetThreadQuietMode(bool on) { threadQuietMode_ = on; }
    bool AutoReadRequest() const { return autoReadRequest_; }
    void SetAutoReadRequest(bool on) { autoReadRequest_ = on; }

    // --- Status, filled by the port and its worker ---
    std::uint32_t ComHandle() const;
    bool SendInProgress() const { return sendInProgress_; }
    std::uint32_t WrittenBytes() const { return writtenBytes_; }
    bool CTSState() const { return ctsState_; }
    bool DSRState() const { return dsrState_; }
    bool RLSDState() const { return rlsdState_; }
    bool RingState() const { return ringState_; }
    std::uint32_t ModemState() const { return modemState_; }
    std::uint32_t CommError() const { return commError_; }
    TComStateFlags CommStateFlags() const { return commStateFlags_; }
    std::uint32_t CommStateInQueue() const { return commStateInQueue_; }
    std::uint32_t CommStateOutQueue() const { return commStateOutQueue_; }
    std::uint32_t CommEvent() const { return commEvent_; }
    // Active, but the device went away and is waited for.
    bool DeviceLost() const { return deviceLost_; }

    // --- Operations ---
    // Starts one send of a copy of the bytes; while one is pending the bytes are dropped.
    void SendData(const char* buffer, std::uint32_t count);
    // One byte per character; an empty text sends and reports nothing.
    void SendText(const std::string& text);
    // Of the oldest queued cluster: its byte count, its line-error flags (-1 when none is
    // queued), and its bytes (removed from the queue; empty when none is queued).
    std::int32_t PeekClusterSize();
    std::int32_t PeekClusterError();
    std::string TakeClusterText();
    void StoreSettings(SettingsStore& store, const std::string& key, const std::string& section);
    void RestoreSettings(SettingsStore& store, const std::string& key, const std::string& section);

    // --- Events; each may be empty ---
    TNotifyEvent OnRxClusterEvent;
    TNotifyEvent OnWriteDone;
    TNotifyEvent OnCommEvent;
    TNotifyEvent OnCommStat;
    TNotifyEvent OnTxQueueEmptyEvent;
    TNotifyEvent OnBreakEvent;
    TNotifyEvent OnCTSEvent;
    TNotifyEvent OnDSREvent;
    TNotifyEvent OnLineErrorEvent;
    TNotifyEvent OnRingEvent;
    TNotifyEvent OnRIEvent;
    TNotifyEvent OnRLSDEvent;
    TNotifyEvent OnRxCharEvent;
    TNotifyEvent OnRxEventCharEvent;
    // On the UI thread: the device went away, and it opened again.
    TNotifyEvent OnDeviceLost;
    TNotifyEvent OnDeviceBack;
    TNotifyErrorEvent OnProcessError;

private:
    friend class TWorkThread;

    void Reopen(bool open);
    void TakeDown();
    void BringUp();
    std::string OpenedPath() const;
    // Queue sizes, line settings, DTR and RTS raised, every device event watched.
    void ConfigureDevice();
    // The worker's hand-overs once the device went away: closing it, and each try to open it.
    void LetGoOfLostDevice();
    void ReopenLostDevice();
    void ApplyLineSettings();
    void ApplyAutomaticAllowances();
    void ApplyQueueSizes(std::uint32_t place);
    void SetFlowLimit(std::uint8_t& property, std::uint8_t percent, const char* warning);
    struct OutputFailure {
        std::uint32_t place;
        const char* msg;
    };
    // While the device is open: raises or lowers an output and stores the value.
    void DriveOutput(bool& state, bool on, int (SerialDevice::*drive)(bool),
                     const OutputFailure& settingFailed, const OutputFailure& clearingFailed);
    // Stores the value and applies the line settings again, unless it is already the value.
    template <typename T> void StoreAndReapply(T& property, T value);
    // The report rule: reaches OnProcessError on the calling thread, unless the port is being
    // destroyed, the noise is above ErrorNoise or no handler is bound.
    void Report(std::uint32_t place, std::uint32_t code, const std::string& msg,
                std::uint8_t noise);
    void WaitForWorkerIdle(int sleeps);
    // Worker: whether clusters end on whole replies, and whether these bytes are one.
    bool EndsClustersOnReplies() const { return clusterOnFrame_ && completeReplyRuleSet_; }
    bool IsCompleteReply(std::string_view received);
    // UI thread: notes which events, and whether messages, have a handler, for the worker to
    // read.
    void NoteBoundEvents();
    static std::uint32_t EventBit(TNotifyEvent TSerialPort::*handler);

    Clock& clock_;
    UiHandOver& handOver_;
    std::stop_source handOverRelease_;
    std::unique_ptr<SerialDevice> device_;
    DeviceIdentity identity_; // of the device opened by the last open (UI thread)
    std::string lastRefusal_; // why a returning device was last left alone (UI thread)

    std::atomic<bool> active_{false};
    std::string commPort_ = "COM2";
    LineConfig line_;
    std::atomic<std::uint32_t> rtoCharDelayTime_{1100};
    std::atomic<std::uint16_t> rtoExtraDelayTime_{250};
    std::atomic<std::uint16_t> clusterSize_{3072};
    std::atomic<bool> clusterOnFrame_{true};
    std::mutex completeReplyLock_; // the rule may be replaced while the worker judges
    TCompleteReplyRule completeReply_;
    std::atomic<bool> completeReplyRuleSet_{false};
    std::uint16_t txQueueSize_ = 4096;
    std::atomic<std::uint32_t> wtoCharDelayTime_{1100};
    std::atomic<std::uint16_t> wtoExtraDelayTime_{250};
    bool xtoAuto_ = true;
    bool rtsState_ = true;
    bool dtrState_ = true;
    bool breakState_ = false;
    std::uint8_t errorNoise_ = 255;
    std::atomic<bool> readRequest_{false};
    std::atomic<bool> threadQuietMode_{false};
    bool autoReadRequest_ = false;

    std::atomic<bool> sendInProgress_{false};
    std::atomic<std::uint32_t> writtenBytes_{0};
    std::atomic<std::uint32_t> sendBytes_{0};     // bytes of the current send
    std::atomic<std::uint32_t> sendStartTick_{0}; // tick at which it went pending
    std::atomic<bool> ctsState_{false};
    std::atomic<bool> dsrState_{false};
    std::atomic<bool> rlsdState_{false};
    std::atomic<bool> ringState_{false};
    std::atomic<std::uint32_t> modemState_{0};
    std::atomic<std::uint32_t> commError_{0};
    std::atomic<TComStateFlags> commStateFlags_{0};
    std::atomic<std::uint32_t> commStateInQueue_{0};
    std::atomic<std::uint32_t> commStateOutQueue_{0};
    std::atomic<std::uint32_t> commEvent_{0};

    std::mutex clusterLock_;
    std::deque<std::unique_ptr<TSerialCluster>> clusters_;

    std::atomic<std::uint32_t> boundEvents_{0};
    std::atomic<bool> processErrorBound_{false};
    std::atomic<bool> workerRunning_{false};
    std::atomic<bool> deviceLost_{false};
    std::atomic<bool> destroying_{false};
    std::unique_ptr<TWorkThread> worker_; // last: it starts once everything above is set
};
