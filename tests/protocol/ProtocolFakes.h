#pragma once

#include "protocol/ClusterLink.h"
#include "protocol/Exchange.h"
#include "protocol/FrameObserver.h"
#include "protocol/ReplyHandler.h"
#include "support/ManualClock.h"

#include <deque>
#include <functional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

// A serial port seen through its clusters: what was sent, and a queue of clusters to receive.
class FakeLink final : public protocol::ClusterLink {
public:
    void SendText(const std::string& text) override { sent.push_back(text); }
    std::int32_t PeekClusterSize() override {
        return queue.empty() ? -1 : static_cast<std::int32_t>(queue.front().first.size());
    }
    std::string TakeClusterText() override {
        if (queue.empty()) {
            return {};
        }
        std::string text = std::move(queue.front().first);
        queue.pop_front();
        return text;
    }
    std::int32_t PeekClusterError() override { return queue.empty() ? -1 : queue.front().second; }

    void Queue(std::string cluster, std::int32_t lineError = 0) {
        queue.emplace_back(std::move(cluster), lineError);
    }

    std::vector<std::string> sent;
    std::deque<std::pair<std::string, std::int32_t>> queue;
};

// The main window as the frame layer sees it.
class FakeObserver final : public protocol::FrameObserver {
public:
    void ShowCommsCount(int count) override { commsCount = count; }
    void ShowBccErrorCount(int count) override { bccErrorCount = count; }
    void ShowOnline(bool on) override { online = on; }
    void ShowDiagnosticLine(const std::string& text) override { diagnosticLine = text; }
    std::string FormatNow(const std::string& pattern) override {
        patterns.push_back(pattern);
        return "<" + pattern + ">";
    }
    bool CommsLogActive() override { return logActive; }
    void WriteCommsLogLine(const std::string& line) override {
        if (failLogWrite) {
            throw std::runtime_error("disk full");
        }
        logLines.push_back(line);
    }

    int commsCount = -1;
    int bccErrorCount = -1;
    bool online = false;
    std::string diagnosticLine;
    std::vector<std::string> patterns;
    bool logActive = false;
    bool failLogWrite = false;
    std::vector<std::string> logLines;
};

// The wait of exchange tests: each step moves the manual clock on and runs `step`, which a test
// uses to deliver replies or start another exchange inside a wait.
class StepWait final : public protocol::LinkWait {
public:
    explicit StepWait(ManualClock& clock) : clock_(clock) {}
    void WaitForActivity(std::uint32_t) override {
        if (++steps > 100000) {
            throw std::logic_error("the wait never ended");
        }
        clock_.Advance(stepMs);
        if (step) {
            step();
        }
    }
    bool Closing() override { return closing; }

    std::uint32_t stepMs = 10;
    int steps = 0;
    std::function<void()> step;
    bool closing = false;

private:
    ManualClock& clock_;
};

// Records which handler got which payload, as "kind:payload", in order.
class RecordingHandler final : public protocol::ReplyHandler {
public:
    void OnReadings(const std::string& p) override { Record("Readings", p); }
    void OnResistanceReadings(const std::string& p) override { Record("Resistance", p); }
    void OnStatus(const std::string& p) override { Record("Status", p); }
    void OnOutputStates(const std::string& p) override { Record("OutputStates", p); }
    void OnChannelConfiguration(const std::string& p) override { Record("Channel", p); }
    void OnAlarmOutput(const std::string& p) override { Record("AlarmOutput", p); }
    void OnRegisters(const std::string& p) override { Record("Registers", p); }
    void OnSerialNumber(const std::string& p) override { Record("Serial", p); }
    void OnFilterConstant(const std::string& p) override { Record("Filter", p); }

    bool throwInHandler = false;
    std::vector<std::string> calls;

private:
    void Record(const std::string& kind, const std::string& payload) {
        calls.push_back(kind + ":" + payload);
        if (throwInHandler) {
            throw std::invalid_argument("not a number");
        }
    }
};

// A framed reply: STX, payload, ETX and the check byte.
inline std::string FramedReply(const std::string& payload) {
    char bcc = 0x03;
    for (char c : payload) {
        bcc = static_cast<char>(bcc ^ c);
    }
    return std::string("\x02") + payload + "\x03" + bcc;
}
