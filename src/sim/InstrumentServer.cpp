#include "sim/InstrumentServer.h"

#include "sim/ControlFile.h"
#include "sim/Framing.h"
#include "sim/PseudoTerminal.h"
#include "sim/Responder.h"
#include "sim/Trace.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <deque>
#include <fcntl.h>
#include <iostream>
#include <poll.h>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace sim {

namespace {

// A frame that stops arriving half way is forgotten after this much silence.
constexpr std::uint64_t kFrameSilenceMs = 500;
constexpr std::uint64_t kControlFileLookMs = 250;
// A panel that stops reading while it still asks is not allowed to make the queue grow.
constexpr std::size_t kMostQueuedWrites = 64;
// Waits are short enough to keep the measurements and the timed writes on time.
constexpr int kLongestWaitMs = 50;

// The time `bytes` take on a line at `baud`, ten bits to the byte (start, eight data, stop),
// rounded up. A write reaches the panel whole, when its last byte would have crossed the line:
// the panel sees the line's time, and what was written at once stays together.
std::uint64_t LineMilliseconds(std::size_t bytes, std::uint32_t baud) {
    return (static_cast<std::uint64_t>(bytes) * 10 * 1000 + baud - 1) / baud;
}

std::uint64_t Milliseconds(double seconds) {
    return static_cast<std::uint64_t>(std::max(seconds, 0.0) * 1000.0);
}

} // namespace

// Everything on the serving thread: the pseudo-terminal, the frames and the timed writes.
class InstrumentServer::Line {
public:
    Line(const ServerOptions& options, Clock& clock, std::mutex& model_mutex,
         InstrumentModel& model)
        : options_(options), clock_(clock), model_mutex_(model_mutex), model_(model),
          responder_(model), faults_(options.faults),
          trace_(options.trace ? (options.trace_stream ? options.trace_stream : &std::cerr)
                               : nullptr,
                 clock),
          link_(options.link_path), last_tick_(clock.TickCount()) {
        if (!options.control_path.empty()) {
            control_.emplace(options.control_path);
        }
    }

    void Open() {
        OpenTerminal();
        if (options_.hangup_after_seconds) {
            hangup_at_ = Milliseconds(*options_.hangup_after_seconds);
        }
    }

    std::string Path() const {
        std::lock_guard lock(path_mutex_);
        return path_;
    }

    // One turn of the serving loop: wait for bytes or the next due moment, then act.
    void Turn(int wake_descriptor) {
        const std::uint64_t now = Elapsed();
        std::array<pollfd, 2> watched{};
        watched[0] = {wake_descriptor, POLLIN, 0};
        nfds_t count = 1;
        if (terminal_) {
            watched[1] = {terminal_->Descriptor(), POLLIN, 0};
            count = 2;
        }
        poll(watched.data(), count, WaitFrom(now));
        if (count == 2 && (watched[1].revents & POLLIN) != 0) {
            ReadFromPanel();
        }
        const std::uint64_t later = Elapsed();
        ForgetStalledFrame(later);
        WriteDue(later);
        {
            std::lock_guard lock(model_mutex_);
            model_.Update();
        }
        ReadControlFile(later);
        HangUpOrReturn(later);
    }

    void Close() {
        if (terminal_) {
            const std::string held = faults_.TakeHeld();
            if (!held.empty()) {
                Write(held);
            }
        }
        link_.Remove();
        terminal_.reset();
        SetPath("");
    }

private:
    struct ScheduledWrite {
        std::uint64_t due;
        std::string bytes;
    };

    std::uint64_t Elapsed() {
        const std::uint32_t tick = clock_.TickCount();
        elapsed_ += static_cast<std::uint32_t>(tick - last_tick_);
        last_tick_ = tick;
        return elapsed_;
    }

    int WaitFrom(std::uint64_t now) const {
        std::uint64_t wait = kLongestWaitMs;
        if (!writes_.empty()) {
            wait = writes_.front().due > now ? std::min(wait, writes_.front().due - now) : 0;
        }
        return static_cast<int>(wait);
    }

    void SetPath(const std::string& path) {
        std::lock_guard lock(path_mutex_);
        path_ = path;
    }

    void OpenTerminal() {
        terminal_ = std::make_unique<PseudoTerminal>();
        link_.PointAt(terminal_->Path());
        SetPath(terminal_->Path());
        trace_.Note("serving on " + terminal_->Path());
    }

    void ReadFromPanel() {
        std::array<char, 512> buffer{};
        for (;;) {
            const ssize_t length = read(terminal_->Descriptor(), buffer.data(), buffer.size());
            if (length <= 0) {
                return; // EAGAIN: all read; EIO cannot happen while our side is held open
            }
            const std::string_view bytes(buffer.data(), static_cast<std::size_t>(length));
            trace_.Received(bytes);
            last_byte_ = Elapsed();
            for (const char byte : bytes) {
                if (auto frame = decoder_.Feed(byte)) {
                    HandleSafely(*frame);
                }
            }
        }
    }

    // Whatever the line brings, the instrument keeps serving.
    void HandleSafely(const DecodedFrame& frame) {
        try {
            Handle(frame);
        } catch (const std::exception& error) {
            trace_.Note(std::string("frame dropped: ") + error.what());
        }
    }

    void Handle(const DecodedFrame& frame) {
        std::optional<std::string> answer;
        {
            std::lock_guard lock(model_mutex_);
            model_.Update();
            answer = responder_.Answer(frame);
        }
        if (!answer) {
            trace_.Note(frame.kind == DecodedFrame::Kind::BadCheck  ? "wrong BCC: ignored"
                        : frame.kind == DecodedFrame::Kind::TooLong ? "over-long frame: ignored"
                                                                    : "unknown message: ignored");
            return;
        }
        const std::uint64_t now = Elapsed();
        const auto writes = faults_.Shape(std::move(*answer), now);
        if (writes.empty()) {
            trace_.Note("answer withheld");
        }
        const std::uint32_t baud = terminal_->BaudRate();
        // The request's own bytes came in over the line first: their time goes with the first
        // write's.
        std::size_t heard_bytes =
            frame.body.size() + (frame.kind == DecodedFrame::Kind::Poll ? 2 : 4);
        for (const TimedWrite& write : writes) {
            // Never let a later write overtake an earlier one: the line keeps byte order, and
            // carries one write at a time.
            std::uint64_t start = now + options_.latency_ms + write.after_ms;
            if (!writes_.empty()) {
                start = std::max(start, writes_.back().due);
            }
            const std::size_t line_bytes = std::exchange(heard_bytes, 0) + write.bytes.size();
            writes_.push_back({start + LineMilliseconds(line_bytes, baud), write.bytes});
        }
        if (writes_.size() > kMostQueuedWrites) {
            writes_.pop_front();
            trace_.Note("the panel is not reading: oldest answer dropped");
        }
    }

    void ForgetStalledFrame(std::uint64_t now) {
        if (decoder_.InsideFrame() && now - last_byte_ > kFrameSilenceMs) {
            decoder_.Reset();
            trace_.Note("unfinished frame: ignored");
        }
    }

    void WriteDue(std::uint64_t now) {
        while (terminal_ && !writes_.empty() && writes_.front().due <= now) {
            std::string& bytes = writes_.front().bytes;
            const std::size_t written = Write(bytes);
            if (written < bytes.size()) {
                bytes.erase(0, written); // the panel is not reading: try again later
                return;
            }
            writes_.pop_front();
        }
    }

    std::size_t Write(std::string_view bytes) {
        const ssize_t written = write(terminal_->Descriptor(), bytes.data(), bytes.size());
        if (written <= 0) {
            return 0;
        }
        trace_.Sent(bytes.substr(0, static_cast<std::size_t>(written)));
        return static_cast<std::size_t>(written);
    }

    void ReadControlFile(std::uint64_t now) {
        if (!control_ || now < next_control_look_) {
            return;
        }
        next_control_look_ = now + kControlFileLookMs;
        const auto lines = control_->ChangedLines();
        if (!lines) {
            return;
        }
        std::lock_guard lock(model_mutex_);
        for (const std::string& line : *lines) {
            if (const auto step = ParseInputStep(line)) {
                model_.Step(*step);
            } else {
                trace_.Note("control file: not a step: " + line);
            }
        }
    }

    void HangUpOrReturn(std::uint64_t now) {
        if (terminal_ && hangup_at_ && now >= *hangup_at_) {
            hangup_at_.reset();
            trace_.Note("hanging up " + terminal_->Path());
            writes_.clear();
            decoder_.Reset();
            terminal_.reset();
            // As the system's name of an unplugged adapter goes with it.
            link_.Remove();
            SetPath("");
            if (options_.return_after_seconds) {
                return_at_ = now + Milliseconds(*options_.return_after_seconds);
            }
        } else if (!terminal_ && return_at_ && now >= *return_at_) {
            return_at_.reset();
            try {
                OpenTerminal();
            } catch (const std::system_error& error) {
                trace_.Note(std::string("cannot come back: ") + error.what());
                return;
            }
            if (options_.on_new_path) {
                options_.on_new_path(Path());
            }
        }
    }

    const ServerOptions& options_;
    Clock& clock_;
    std::mutex& model_mutex_;
    InstrumentModel& model_;
    Responder responder_;
    FaultInjector faults_;
    Trace trace_;
    DeviceLink link_;
    std::optional<ControlFile> control_;
    std::unique_ptr<PseudoTerminal> terminal_;
    FrameDecoder decoder_;
    std::deque<ScheduledWrite> writes_;

    std::uint32_t last_tick_;
    std::uint64_t elapsed_ = 0;
    std::uint64_t last_byte_ = 0;
    std::uint64_t next_control_look_ = 0;
    std::optional<std::uint64_t> hangup_at_;
    std::optional<std::uint64_t> return_at_;

    mutable std::mutex path_mutex_;
    std::string path_;
};

InstrumentServer::InstrumentServer(ServerOptions options)
    : options_(std::move(options)), clock_(options_.clock ? *options_.clock : SystemClock()),
      model_(options_.instrument, clock_) {}

InstrumentServer::~InstrumentServer() {
    Stop();
}

void InstrumentServer::Start() {
    if (line_) {
        return;
    }
    int wake[2];
    if (pipe2(wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        throw std::system_error(errno, std::generic_category(), "pipe2");
    }
    wake_read_ = wake[0];
    wake_write_ = wake[1];
    auto line = std::make_unique<Line>(options_, clock_, model_mutex_, model_);
    try {
        line->Open();
    } catch (...) {
        close(wake_read_);
        close(wake_write_);
        wake_read_ = wake_write_ = -1;
        throw;
    }
    line_ = std::move(line);
    thread_ = std::thread([this] { Serve(); });
}

void InstrumentServer::Serve() {
    while (!stopping_) {
        line_->Turn(wake_read_);
    }
    line_->Close();
}

void InstrumentServer::Stop() {
    if (!thread_.joinable()) {
        return;
    }
    stopping_ = true;
    const char wake = 1;
    [[maybe_unused]] const auto ignored = write(wake_write_, &wake, 1);
    thread_.join();
    close(wake_read_);
    close(wake_write_);
    wake_read_ = wake_write_ = -1;
}

std::string InstrumentServer::Path() const {
    return line_ ? line_->Path() : std::string();
}

void InstrumentServer::Step(const InputStep& step) {
    std::lock_guard lock(model_mutex_);
    model_.Step(step);
}

} // namespace sim
