#include "sim/SimulatedSerialDevice.h"

#include "sim/InstrumentLine.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <utility>

namespace sim {

namespace {

constexpr std::uint32_t kOpenHandle = 1;
constexpr std::uint32_t kStartBaud = 38400;

class SimulatedSerialDevice final : public SerialDevice {
public:
    explicit SimulatedSerialDevice(ServerOptions options)
        : options_(std::move(options)), clock_(options_.clock ? *options_.clock : SystemClock()),
          model_(options_.instrument, clock_), line_(options_, clock_, model_mutex_, model_) {
        settings_.baudRate = kStartBaud;
    }

    int Open(const std::string&) override {
        std::lock_guard lock(mutex_);
        if (open_) {
            return EBUSY;
        }
        MoveDueAnswers(); // what came while nobody listened is gone
        open_ = true;
        woken_ = false;
        return 0;
    }

    int Close() override {
        std::lock_guard lock(mutex_);
        if (!open_) {
            return EBADF;
        }
        open_ = false;
        input_.clear();
        Wake();
        return 0;
    }

    bool IsOpen() const override {
        std::lock_guard lock(mutex_);
        return open_;
    }

    std::uint32_t Handle() const override { return IsOpen() ? kOpenHandle : kNoHandle; }
    int LostError() const override { return 0; }

    int SetQueueSizes(std::uint32_t, std::uint32_t) override { return OpenOrFailed(); }

    int GetLineSettings(LineSettings& current) override {
        std::lock_guard lock(mutex_);
        if (!open_) {
            return EBADF;
        }
        current = settings_;
        return 0;
    }

    int SetLineSettings(const LineSettings& settings) override {
        std::lock_guard lock(mutex_);
        if (!open_) {
            return EBADF;
        }
        if (settings.baudRate == 0 || settings.byteSize < 5 || settings.byteSize > 8) {
            return EINVAL;
        }
        settings_ = settings;
        return 0;
    }

    int SetEventMask(std::uint32_t mask) override {
        std::lock_guard lock(mutex_);
        eventMask_ = mask;
        if (mask == 0) {
            Wake();
        }
        return 0;
    }

    std::uint32_t EventMask() const override {
        std::lock_guard lock(mutex_);
        return eventMask_;
    }

    // A line without modem lines: nothing to drive, and no error for it.
    int SetRts(bool) override { return OpenOrFailed(); }
    int SetDtr(bool) override { return OpenOrFailed(); }
    int SetBreak(bool) override { return OpenOrFailed(); }

    int Purge() override {
        std::lock_guard lock(mutex_);
        input_.clear();
        return open_ ? 0 : EBADF;
    }

    // The instrument takes every byte at once: a send never stays pending.
    WriteProgress StartWrite(const char* data, std::uint32_t count) override {
        std::lock_guard lock(mutex_);
        if (!open_) {
            return {WriteProgress::State::Failed, 0, EBADF};
        }
        MoveDueAnswers();
        line_.Receive(std::string_view(data, count), settings_.baudRate);
        changed_.notify_all();
        return {WriteProgress::State::Completed, count, 0};
    }

    WriteProgress ContinueWrite() override { return {WriteProgress::State::Completed, 0, 0}; }
    void AbandonWrite() override {}

    int GetModemStatus(std::uint32_t& word) override {
        word = 0;
        return OpenOrFailed();
    }

    int ClearErrors(DeviceStatus& status) override {
        std::lock_guard lock(mutex_);
        if (!open_) {
            return EBADF;
        }
        MoveDueAnswers();
        status = DeviceStatus{};
        status.inQueue = static_cast<std::uint32_t>(input_.size());
        return 0;
    }

    int Read(char* buffer, std::uint32_t count, std::uint32_t& got) override {
        std::lock_guard lock(mutex_);
        got = 0;
        if (!open_) {
            return EBADF;
        }
        MoveDueAnswers();
        const bool discardNull = (settings_.flags & LineFlag::kDiscardNull) != 0;
        const std::size_t taken = std::min<std::size_t>(count, input_.size());
        for (std::size_t i = 0; i < taken; ++i) {
            if (input_[i] != 0 || !discardNull) {
                buffer[got++] = input_[i];
            }
        }
        input_.erase(0, taken);
        return 0;
    }

    WaitOutcome Wait(bool forInput, bool, std::uint32_t timeoutMilliseconds) override {
        std::unique_lock lock(mutex_);
        const auto end =
            std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMilliseconds);
        for (;;) {
            MoveDueAnswers();
            WaitOutcome outcome{WaitOutcome::State::Signalled, forInput && !input_.empty(),
                                std::exchange(woken_, false), 0};
            if (outcome.inputArrived || outcome.woken) {
                return outcome;
            }
            const auto now = std::chrono::steady_clock::now();
            if (now >= end) {
                return {};
            }
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(end - now).count();
            const auto next = line_.MillisecondsToNextWrite(static_cast<std::uint64_t>(left));
            changed_.wait_for(lock, std::chrono::milliseconds(std::max<std::uint64_t>(next, 1)));
        }
    }

private:
    int OpenOrFailed() const {
        std::lock_guard lock(mutex_);
        return open_ ? 0 : EBADF;
    }

    void Wake() {
        woken_ = true;
        changed_.notify_all();
    }

    // Answers whose time has come reach the input queue; while the port is closed they are
    // lost, as on a line nobody listens to. Called with mutex_.
    void MoveDueAnswers() {
        line_.WriteDue([this](std::string_view bytes) {
            if (open_) {
                input_.append(bytes);
            }
            return bytes.size();
        });
        line_.Tick();
    }

    ServerOptions options_;
    Clock& clock_;
    std::mutex model_mutex_;
    InstrumentModel model_;

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    InstrumentLine line_;
    bool open_ = false;
    bool woken_ = false;
    std::uint32_t eventMask_ = 0;
    LineSettings settings_;
    std::string input_;
};

} // namespace

std::unique_ptr<SerialDevice> MakeSimulatedSerialDevice(ServerOptions options) {
    return std::make_unique<SimulatedSerialDevice>(std::move(options));
}

} // namespace sim
