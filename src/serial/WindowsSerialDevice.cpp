// The device layer on Windows: a COM port opened exclusively for overlapped I/O. Line settings
// go through the device control block; the queue counts, hold flags and line errors come from
// ClearCommError; a wait for input is an overlapped WaitCommEvent beside a wake event, or, where
// the event wait fails at once (Wine on a terminal device), a look at the input queue every few
// milliseconds. Win32 errors are reported as the errno values of the same reasons, so the port
// layer tells "no such device", "in use" and "device gone" alike on every system.

#include "SerialDevice.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cerrno>
#include <cstdint>
#include <mutex>
#include <shared_mutex>
#include <string>
#include <windows.h>

namespace {

// How often the input queue is looked at while the event wait is not to be had.
constexpr DWORD kQueueLookMilliseconds = 10;
// How long a read of bytes already queued may take before what it got is taken.
constexpr DWORD kReadCompletionMilliseconds = 50;

// The errors with which a COM port says its device has gone (a USB adapter pulled out, the
// terminal behind Wine's port hung up).
bool IsDeviceGone(DWORD error) {
    switch (error) {
    case ERROR_NOT_READY:
    case ERROR_BAD_COMMAND:
    case ERROR_GEN_FAILURE:
    case ERROR_DEV_NOT_EXIST:
    case ERROR_DEVICE_NOT_CONNECTED:
    case ERROR_DEVICE_REMOVED:
        return true;
    default:
        return false;
    }
}

int ErrnoOf(DWORD error) {
    switch (error) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
        return ENOENT;
    // A COM port that another program holds answers "access denied".
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_BUSY:
        return EBUSY;
    case ERROR_PRIVILEGE_NOT_HELD:
        return EACCES;
    case ERROR_OPERATION_ABORTED:
        return ECANCELED;
    case ERROR_INVALID_PARAMETER:
        return EINVAL;
    case ERROR_INVALID_HANDLE:
        return EBADF;
    case ERROR_NOT_SUPPORTED:
        return ENOTSUP;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY:
        return ENOMEM;
    default:
        return EIO; // the device gone, and whatever else the driver says
    }
}

HANDLE ManualResetEvent() {
    return CreateEventW(nullptr, TRUE, FALSE, nullptr);
}

// The flag word of the line settings is the control block's bit-field word.
std::uint32_t FlagsOf(const DCB& block) {
    return block.fBinary | block.fParity << 1 | block.fOutxCtsFlow << 2 | block.fOutxDsrFlow << 3 |
           block.fDtrControl << 4 | block.fDsrSensitivity << 6 | block.fTXContinueOnXoff << 7 |
           block.fOutX << 8 | block.fInX << 9 | block.fErrorChar << 10 | block.fNull << 11 |
           block.fRtsControl << 12 | block.fAbortOnError << 14;
}

void SetFlags(DCB& block, std::uint32_t flags) {
    block.fBinary = flags & 1;
    block.fParity = flags >> 1 & 1;
    block.fOutxCtsFlow = flags >> 2 & 1;
    block.fOutxDsrFlow = flags >> 3 & 1;
    block.fDtrControl = flags >> 4 & 3;
    block.fDsrSensitivity = flags >> 6 & 1;
    block.fTXContinueOnXoff = flags >> 7 & 1;
    block.fOutX = flags >> 8 & 1;
    block.fInX = flags >> 9 & 1;
    block.fErrorChar = flags >> 10 & 1;
    block.fNull = flags >> 11 & 1;
    block.fRtsControl = flags >> 12 & 3;
    block.fAbortOnError = flags >> 14 & 1;
}

std::uint8_t HoldFlagsOf(const COMSTAT& status) {
    return static_cast<std::uint8_t>(status.fCtsHold | status.fDsrHold << 1 |
                                     status.fRlsdHold << 2 | status.fXoffHold << 3 |
                                     status.fXoffSent << 4 | status.fEof << 5 | status.fTxim << 6);
}

class WindowsSerialDevice final : public SerialDevice {
public:
    WindowsSerialDevice()
        : wake_(ManualResetEvent()), written_(ManualResetEvent()), read_(ManualResetEvent()),
          commEvent_(ManualResetEvent()) {}

    ~WindowsSerialDevice() override {
        Close();
        for (const HANDLE event : {wake_, written_, read_, commEvent_}) {
            if (event) {
                CloseHandle(event);
            }
        }
    }

    int Open(const std::string& path) override {
        std::unique_lock lock(handleMutex_);
        if (handle_ != INVALID_HANDLE_VALUE) {
            return EBUSY;
        }
        const HANDLE handle = CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_OVERLAPPED, nullptr);
        if (handle == INVALID_HANDLE_VALUE) {
            return ErrnoOf(GetLastError());
        }
        ResetEvent(wake_);
        lostError_ = 0;
        eventWaitFails_ = false;
        pendingErrors_ = 0;
        handle_ = handle;
        return 0;
    }

    int Close() override {
        Wake();
        std::unique_lock lock(handleMutex_);
        if (handle_ == INVALID_HANDLE_VALUE) {
            return EBADF;
        }
        // Every overlapped operation ends before its record and buffer go.
        SetCommMask(handle_, 0);
        CancelIoEx(handle_, nullptr);
        DWORD ignored = 0;
        if (eventWaitPending_) {
            GetOverlappedResult(handle_, &commOverlapped_, &ignored, TRUE);
            eventWaitPending_ = false;
        }
        {
            std::lock_guard writeLock(writeMutex_);
            FinishWrite();
        }
        const int result = CloseHandle(handle_) ? 0 : ErrnoOf(GetLastError());
        handle_ = INVALID_HANDLE_VALUE;
        return result;
    }

    bool IsOpen() const override {
        std::shared_lock lock(handleMutex_);
        return handle_ != INVALID_HANDLE_VALUE;
    }

    std::uint32_t Handle() const override {
        std::shared_lock lock(handleMutex_);
        return handle_ == INVALID_HANDLE_VALUE
                   ? kNoHandle
                   : static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(handle_));
    }

    int LostError() const override { return lostError_; }

    int SetQueueSizes(std::uint32_t rxBytes, std::uint32_t txBytes) override {
        std::shared_lock lock(handleMutex_);
        return SetupComm(handle_, rxBytes, txBytes) ? 0 : Failed();
    }

    int GetLineSettings(LineSettings& current) override {
        std::shared_lock lock(handleMutex_);
        DCB block{};
        block.DCBlength = sizeof block;
        if (!GetCommState(handle_, &block)) {
            return Failed();
        }
        current.baudRate = block.BaudRate;
        current.flags = FlagsOf(block);
        current.parity = block.Parity;
        current.stopBits = block.StopBits;
        current.byteSize = block.ByteSize;
        current.errorChar = block.ErrorChar;
        current.eventChar = block.EvtChar;
        current.eofChar = block.EofChar;
        current.xonChar = block.XonChar;
        current.xoffChar = block.XoffChar;
        current.xonLimit = block.XonLim;
        current.xoffLimit = block.XoffLim;
        return 0;
    }

    int SetLineSettings(const LineSettings& line) override {
        std::shared_lock lock(handleMutex_);
        DCB block{};
        block.DCBlength = sizeof block;
        if (!GetCommState(handle_, &block)) {
            return Failed();
        }
        block.BaudRate = line.baudRate;
        SetFlags(block, line.flags);
        block.Parity = line.parity;
        block.StopBits = line.stopBits;
        block.ByteSize = line.byteSize;
        block.ErrorChar = line.errorChar;
        block.EvtChar = line.eventChar;
        block.EofChar = line.eofChar;
        block.XonChar = line.xonChar;
        block.XoffChar = line.xoffChar;
        block.XonLim = line.xonLimit;
        block.XoffLim = line.xoffLimit;
        // A read returns at once with what is queued; a send has no limit of its own here, the
        // port gives it its allowance.
        COMMTIMEOUTS timeouts{MAXDWORD, 0, 0, 0, 0};
        if (!SetCommTimeouts(handle_, &timeouts) || !SetCommState(handle_, &block)) {
            return Failed();
        }
        return 0;
    }

    int SetEventMask(std::uint32_t mask) override {
        eventMask_ = mask;
        int result = 0;
        {
            std::shared_lock lock(handleMutex_);
            // None also ends an event wait in progress.
            if (handle_ != INVALID_HANDLE_VALUE && !SetCommMask(handle_, mask)) {
                result = Failed();
            }
        }
        if (mask == 0) {
            Wake();
        }
        return result;
    }

    std::uint32_t EventMask() const override { return eventMask_; }

    int SetRts(bool raised) override { return DriveModemLine(raised ? SETRTS : CLRRTS); }
    int SetDtr(bool raised) override { return DriveModemLine(raised ? SETDTR : CLRDTR); }

    int SetBreak(bool on) override {
        std::shared_lock lock(handleMutex_);
        return (on ? SetCommBreak(handle_) : ClearCommBreak(handle_)) ? 0 : Failed();
    }

    // A send in progress is aborted: its completion then says so.
    int Purge() override {
        std::shared_lock lock(handleMutex_);
        constexpr DWORD kEverything = PURGE_TXABORT | PURGE_RXABORT | PURGE_TXCLEAR | PURGE_RXCLEAR;
        return PurgeComm(handle_, kEverything) ? 0 : Failed();
    }

    WriteProgress StartWrite(const char* data, std::uint32_t count) override {
        std::shared_lock lock(handleMutex_);
        std::lock_guard writeLock(writeMutex_);
        FinishWrite();
        pending_.assign(data, count);
        writeOverlapped_ = OVERLAPPED{};
        writeOverlapped_.hEvent = written_;
        ResetEvent(written_);
        DWORD written = 0;
        if (WriteFile(handle_, pending_.data(), count, &written, &writeOverlapped_)) {
            return {WriteProgress::State::Completed, written, 0};
        }
        if (GetLastError() == ERROR_IO_PENDING) {
            writePending_ = true;
            return {WriteProgress::State::Pending, 0, 0};
        }
        return {WriteProgress::State::Failed, 0, Failed()};
    }

    WriteProgress ContinueWrite() override {
        std::shared_lock lock(handleMutex_);
        std::lock_guard writeLock(writeMutex_);
        if (!writePending_) {
            return {WriteProgress::State::Completed, static_cast<std::uint32_t>(pending_.size()),
                    0};
        }
        DWORD written = 0;
        if (GetOverlappedResult(handle_, &writeOverlapped_, &written, FALSE)) {
            writePending_ = false;
            return {WriteProgress::State::Completed, written, 0};
        }
        if (GetLastError() == ERROR_IO_INCOMPLETE) {
            return {WriteProgress::State::Pending, written, 0};
        }
        writePending_ = false;
        return {WriteProgress::State::Failed, written, Failed()};
    }

    void AbandonWrite() override {
        std::shared_lock lock(handleMutex_);
        std::lock_guard writeLock(writeMutex_);
        FinishWrite();
    }

    // A device without modem lines (Wine's port on a terminal) says "not supported": its
    // lines read as all off.
    int GetModemStatus(std::uint32_t& word) override {
        std::shared_lock lock(handleMutex_);
        DWORD status = 0;
        word = 0;
        if (GetCommModemStatus(handle_, &status)) {
            word = status & (MS_CTS_ON | MS_DSR_ON | MS_RING_ON | MS_RLSD_ON);
            return 0;
        }
        return GetLastError() == ERROR_NOT_SUPPORTED ? 0 : Failed();
    }

    int ClearErrors(DeviceStatus& status) override {
        std::shared_lock lock(handleMutex_);
        DWORD errors = 0;
        COMSTAT queues{};
        if (!ClearCommError(handle_, &errors, &queues)) {
            return Failed();
        }
        status.errors = errors | pendingErrors_.exchange(0);
        status.holdFlags = HoldFlagsOf(queues);
        status.inQueue = queues.cbInQue;
        status.outQueue = queues.cbOutQue;
        return 0;
    }

    int Read(char* buffer, std::uint32_t count, std::uint32_t& got) override {
        std::shared_lock lock(handleMutex_);
        got = 0;
        OVERLAPPED overlapped{};
        overlapped.hEvent = read_;
        ResetEvent(read_);
        DWORD read = 0;
        if (ReadFile(handle_, buffer, count, &read, &overlapped)) {
            got = read;
            return 0;
        }
        if (GetLastError() != ERROR_IO_PENDING) {
            return Failed();
        }
        // Only queued bytes are asked for, so the read ends at once; where a driver waits for
        // more all the same, it is cut short.
        if (WaitForSingleObject(read_, kReadCompletionMilliseconds) != WAIT_OBJECT_0) {
            CancelIoEx(handle_, &overlapped);
        }
        if (!GetOverlappedResult(handle_, &overlapped, &read, TRUE) &&
            GetLastError() != ERROR_OPERATION_ABORTED) {
            return Failed();
        }
        got = read;
        return 0;
    }

    WaitOutcome Wait(bool forInput, bool forOutput, std::uint32_t timeoutMilliseconds) override {
        std::shared_lock lock(handleMutex_);
        const bool usable = handle_ != INVALID_HANDLE_VALUE && lostError_ == 0;
        if (usable && forInput && !eventWaitFails_) {
            if (const int error = StartEventWait()) {
                return {WaitOutcome::State::Failed, false, false, error};
            }
        }
        const bool looksAtQueue = usable && forInput && eventWaitFails_;
        std::array<HANDLE, 3> watched{wake_};
        DWORD count = 1;
        if (usable && forInput && eventWaitPending_) {
            watched[count++] = commEvent_;
        }
        if (usable && forOutput && writePending_) {
            watched[count++] = written_;
        }
        const DWORD started = GetTickCount();
        for (;;) {
            const DWORD spent = GetTickCount() - started;
            const DWORD left = spent < timeoutMilliseconds ? timeoutMilliseconds - spent : 0;
            const DWORD slice = looksAtQueue ? std::min(left, kQueueLookMilliseconds) : left;
            const DWORD ready = WaitForMultipleObjects(count, watched.data(), FALSE, slice);
            if (ready == WAIT_FAILED) {
                return {WaitOutcome::State::Failed, false, false, ErrnoOf(GetLastError())};
            }
            if (ready != WAIT_TIMEOUT) {
                return Signalled(watched[ready - WAIT_OBJECT_0]);
            }
            if (looksAtQueue) {
                if (const int error = LookAtQueue()) {
                    return {WaitOutcome::State::Failed, false, false, error};
                }
                if (queueFilled_) {
                    return {WaitOutcome::State::Signalled, true, false, 0};
                }
            }
            if (left == 0) {
                return {};
            }
        }
    }

private:
    int Failed() {
        const DWORD error = GetLastError();
        int none = 0;
        if (IsDeviceGone(error)) {
            lostError_.compare_exchange_strong(none, ErrnoOf(error));
        }
        return ErrnoOf(error);
    }

    void Wake() { SetEvent(wake_); }

    int DriveModemLine(DWORD function) {
        std::shared_lock lock(handleMutex_);
        if (EscapeCommFunction(handle_, function)) {
            return 0;
        }
        return GetLastError() == ERROR_NOT_SUPPORTED ? 0 : Failed(); // nothing to drive
    }

    // Ends a write in progress before its record or bytes are reused. Called with writeMutex_.
    void FinishWrite() {
        if (writePending_) {
            DWORD ignored = 0;
            CancelIoEx(handle_, &writeOverlapped_);
            GetOverlappedResult(handle_, &writeOverlapped_, &ignored, TRUE);
            writePending_ = false;
        }
        pending_.clear();
    }

    // Starts the overlapped event wait unless one is pending; one that ended meanwhile (the
    // mask set to none, input already taken) is stale and replaced. A device that cannot wait
    // for events is watched by its queue count from then on.
    int StartEventWait() {
        if (eventWaitPending_) {
            if (WaitForSingleObject(commEvent_, 0) != WAIT_OBJECT_0) {
                return 0;
            }
            DWORD ignored = 0;
            GetOverlappedResult(handle_, &commOverlapped_, &ignored, FALSE);
            eventWaitPending_ = false;
        }
        commOverlapped_ = OVERLAPPED{};
        commOverlapped_.hEvent = commEvent_;
        ResetEvent(commEvent_);
        firedEvents_ = 0;
        if (WaitCommEvent(handle_, &firedEvents_, &commOverlapped_)) {
            SetEvent(commEvent_); // ended at once: seen as signalled below
            eventWaitPending_ = true;
            return 0;
        }
        const DWORD error = GetLastError();
        if (error == ERROR_IO_PENDING) {
            eventWaitPending_ = true;
        } else if (IsDeviceGone(error)) {
            return Failed();
        } else {
            eventWaitFails_ = true;
        }
        return 0;
    }

    WaitOutcome Signalled(HANDLE event) {
        WaitOutcome outcome{WaitOutcome::State::Signalled, false, false, 0};
        if (event == wake_) {
            ResetEvent(wake_);
            outcome.woken = true;
        } else if (event == commEvent_) {
            DWORD ignored = 0;
            const bool ended = GetOverlappedResult(handle_, &commOverlapped_, &ignored, FALSE);
            eventWaitPending_ = false;
            if (!ended && IsDeviceGone(GetLastError())) {
                return {WaitOutcome::State::Failed, false, false, Failed()};
            }
            outcome.inputArrived = ended && (firedEvents_ & EV_RXCHAR) != 0;
        }
        return outcome;
    }

    // The queue count read for the wait; the line errors it clears are kept for the next
    // status reading.
    int LookAtQueue() {
        DWORD errors = 0;
        COMSTAT queues{};
        if (!ClearCommError(handle_, &errors, &queues)) {
            return Failed();
        }
        pendingErrors_ |= errors;
        queueFilled_ = queues.cbInQue > 0;
        return 0;
    }

    const HANDLE wake_;
    const HANDLE written_;
    const HANDLE read_;
    const HANDLE commEvent_;

    mutable std::shared_mutex handleMutex_; // exclusive only to open and close the device
    HANDLE handle_ = INVALID_HANDLE_VALUE;
    std::atomic<int> lostError_{0};
    std::atomic<std::uint32_t> eventMask_{0};
    std::atomic<std::uint32_t> pendingErrors_{0};

    // The worker's own: the event wait and the look at the queue.
    OVERLAPPED commOverlapped_{};
    DWORD firedEvents_ = 0;
    bool eventWaitPending_ = false;
    bool eventWaitFails_ = false;
    bool queueFilled_ = false;

    std::mutex writeMutex_;
    OVERLAPPED writeOverlapped_{};
    std::string pending_;
    std::atomic<bool> writePending_{false}; // also read by the worker's wait
};

} // namespace

std::unique_ptr<SerialDevice> MakeSystemSerialDevice() {
    return std::make_unique<WindowsSerialDevice>();
}

std::string DevicePath(const std::string& portName) {
    return portName.starts_with("\\\\") ? portName : "\\\\.\\" + portName;
}
