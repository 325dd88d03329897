#pragma once

#include "DeviceEvents.h"
#include "LineSettings.h"

#include <cstdint>
#include <memory>
#include <string>

// Where a send stands: handed over completely, still being written, or failed.
struct WriteProgress {
    enum class State { Completed, Pending, Failed };
    State state = State::Failed;
    std::uint32_t written = 0; // bytes handed to the device so far
    int error = 0;             // platform error code when failed
};

// How a wait on the device ended.
struct WaitOutcome {
    enum class State { TimedOut, Signalled, Failed };
    State state = State::TimedOut;
    bool inputArrived = false;
    bool woken = false; // the event mask was set to none meanwhile
    int error = 0;
};

// One serial device as the port and its worker use it. Every operation returns 0 or the
// platform's error code and never throws. The port calls the configuration operations on its
// thread, the worker calls the status, read and wait operations on its own: an implementation
// is safe for that mix and keeps the device valid while a worker call is in progress.
class SerialDevice {
public:
    static constexpr std::uint32_t kNoHandle = 0xFFFFFFFF;

    virtual ~SerialDevice() = default;

    // Opens the device exclusively, raw and non-blocking.
    virtual int Open(const std::string& path) = 0;
    virtual int Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual std::uint32_t Handle() const = 0;
    // The error that showed the device has gone (unplugged, hung up), or 0 while it answers;
    // kept after Close, cleared by the next Open.
    virtual int LostError() const = 0;

    virtual int SetQueueSizes(std::uint32_t rxBytes, std::uint32_t txBytes) = 0;
    virtual int GetLineSettings(LineSettings& current) = 0;
    // Also makes reads return at once with what is queued.
    virtual int SetLineSettings(const LineSettings& settings) = 0;
    // The device events that end a wait; none wakes a wait in progress.
    virtual int SetEventMask(std::uint32_t mask) = 0;
    virtual std::uint32_t EventMask() const = 0;
    virtual int SetRts(bool raised) = 0;
    virtual int SetDtr(bool raised) = 0;
    virtual int SetBreak(bool on) = 0;
    // Drops both queues and aborts a pending send.
    virtual int Purge() = 0;

    // Starts a send of a copy of the bytes; whatever the device cannot take at once stays
    // pending and is carried on by ContinueWrite.
    virtual WriteProgress StartWrite(const char* data, std::uint32_t count) = 0;
    virtual WriteProgress ContinueWrite() = 0;
    // Gives up the rest of a pending send.
    virtual void AbandonWrite() = 0;

    virtual int GetModemStatus(std::uint32_t& word) = 0;
    // Reads and clears the line errors, with the hold flags and both queue counts.
    virtual int ClearErrors(DeviceStatus& status) = 0;
    // Reads at most count bytes that are already queued; never waits.
    virtual int Read(char* buffer, std::uint32_t count, std::uint32_t& got) = 0;
    // Waits at most timeoutMilliseconds for input (when asked), room for a pending send (when
    // asked), the event mask being set to none, or the device going away.
    virtual WaitOutcome Wait(bool forInput, bool forOutput, std::uint32_t timeoutMilliseconds) = 0;
};

// The device layer of the platform the program runs on.
std::unique_ptr<SerialDevice> MakeSystemSerialDevice();

// The path opened for a port name. POSIX: a name without '/' is a device under /dev, any other
// is taken as given. Windows: COM5 opens \\.\COM5, a name that starts with \\ is taken as
// given.
std::string DevicePath(const std::string& portName);
