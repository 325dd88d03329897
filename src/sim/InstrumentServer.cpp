#include "sim/InstrumentServer.h"

#include "sim/InstrumentLine.h"
#include "sim/PseudoTerminal.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <fcntl.h>
#include <optional>
#include <poll.h>
#include <string_view>
#include <system_error>
#include <unistd.h>
#include <utility>

namespace sim {

namespace {

// Waits are short enough to keep the measurements and the timed writes on time.
constexpr std::uint64_t kLongestWaitMs = 50;

std::uint64_t Milliseconds(double seconds) {
    return static_cast<std::uint64_t>(std::max(seconds, 0.0) * 1000.0);
}

} // namespace

// The instrument's line on a pseudo-terminal, on the serving thread: the terminal, its link,
// and its hanging up and coming back.
class InstrumentServer::Line {
public:
    Line(const ServerOptions& options, Clock& clock, std::mutex& model_mutex,
         InstrumentModel& model)
        : options_(options), instrument_(options, clock, model_mutex, model),
          link_(options.link_path) {}

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
        std::array<pollfd, 2> watched{};
        watched[0] = {wake_descriptor, POLLIN, 0};
        nfds_t count = 1;
        if (terminal_) {
            watched[1] = {terminal_->Descriptor(), POLLIN, 0};
            count = 2;
        }
        poll(watched.data(), count,
             static_cast<int>(instrument_.MillisecondsToNextWrite(kLongestWaitMs)));
        if (count == 2 && (watched[1].revents & POLLIN) != 0) {
            ReadFromPanel();
        }
        if (terminal_) {
            instrument_.WriteDue([this](std::string_view bytes) { return Write(bytes); });
        }
        instrument_.Tick();
        HangUpOrReturn(instrument_.Elapsed());
    }

    void Close() {
        if (terminal_) {
            instrument_.WriteHeld([this](std::string_view bytes) { return Write(bytes); });
        }
        link_.Remove();
        terminal_.reset();
        SetPath("");
    }

private:
    void SetPath(const std::string& path) {
        std::lock_guard lock(path_mutex_);
        path_ = path;
    }

    void OpenTerminal() {
        terminal_ = std::make_unique<PseudoTerminal>();
        link_.PointAt(terminal_->Path());
        SetPath(terminal_->Path());
        instrument_.Note("serving on " + terminal_->Path());
    }

    void ReadFromPanel() {
        std::array<char, 512> buffer{};
        for (;;) {
            const ssize_t length = read(terminal_->Descriptor(), buffer.data(), buffer.size());
            if (length <= 0) {
                return; // EAGAIN: all read; EIO cannot happen while our side is held open
            }
            instrument_.Receive(std::string_view(buffer.data(), static_cast<std::size_t>(length)),
                                terminal_->BaudRate());
        }
    }

    std::size_t Write(std::string_view bytes) {
        const ssize_t written = write(terminal_->Descriptor(), bytes.data(), bytes.size());
        return written > 0 ? static_cast<std::size_t>(written) : 0;
    }

    void HangUpOrReturn(std::uint64_t now) {
        if (terminal_ && hangup_at_ && now >= *hangup_at_) {
            hangup_at_.reset();
            instrument_.Note("hanging up " + terminal_->Path());
            instrument_.Drop();
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
                instrument_.Note(std::string("cannot come back: ") + error.what());
                return;
            }
            if (options_.on_new_path) {
                options_.on_new_path(Path());
            }
        }
    }

    const ServerOptions& options_;
    InstrumentLine instrument_;
    DeviceLink link_;
    std::unique_ptr<PseudoTerminal> terminal_;
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
