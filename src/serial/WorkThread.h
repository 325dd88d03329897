#pragma once

#include "serial/Allowances.h"
#include "serial/SerialPort.h"

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <thread>

// The receive worker of one port, running for the port's whole life. While the port is open
// it polls the device's status, closes clusters by size, time or line error, waits on the
// device at most 75 ms at a time, finishes pending sends, and hands every cluster, device
// event and message of its own to the UI thread. While the port is closed, or its device has
// gone and is tried again once a second, it idles in steps of 200 ms.
class TWorkThread {
public:
    explicit TWorkThread(TSerialPort& port);
    // Waits for the end of the run; ask for it with RequestEnd first.
    ~TWorkThread();
    TWorkThread(const TWorkThread&) = delete;
    TWorkThread& operator=(const TWorkThread&) = delete;

    // The worker ends at its next idle pass.
    void RequestEnd() { endRequested_ = true; }

private:
    void Body();
    void ServingPass();
    // Returns the line errors this poll saw.
    std::uint32_t StatusPoll();
    void SendCheck();
    void ReadLook();
    void ReadLookOnReplies();
    void TakeArrivedBytes();
    void QueueSeenEmpty();
    ClusterLook LookAt(std::uint32_t queued) const;
    void WaitOnDevice();
    void DispatchEvents(std::uint32_t mask);
    void MakeCluster(const char* data, std::uint32_t count);
    void WorkerMessage(std::uint32_t place, std::uint32_t code, const std::string& msg);
    void HandOver(std::function<void()> call);
    void HandOverEvent(TNotifyEvent TSerialPort::*handler);
    bool DeviceUsable() const;
    // A device that went away: the port closes it, then opens it again once it is back.
    void LetGoOfDevice();
    void TryReopenEverySecond();
    // The port's own work, run on the UI thread whether or not the port is in quiet mode.
    void RunOnPort(void (TSerialPort::*operation)());

    TSerialPort& port_;
    SerialDevice& device_;
    std::atomic<bool> endRequested_{false};

    // Loop state, touched by the worker only.
    std::uint32_t idleSince_ = 0;
    bool serving_ = false;
    std::uint32_t clusterErrors_ = 0; // line errors seen since the queue was last empty
    std::uint32_t lastError_ = 0;     // code of the worker's last message
    std::string held_;                // bytes taken from the device, not yet a cluster
    std::uint32_t reopenTriedAt_ = 0; // tick of the last try to open a lost device again

    std::thread thread_; // last: starts once the state above is set
};
