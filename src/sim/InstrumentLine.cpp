#include "sim/InstrumentLine.h"

#include <algorithm>
#include <exception>
#include <iostream>
#include <utility>

namespace sim {

namespace {

// A frame that stops arriving half way is forgotten after this much silence.
constexpr std::uint64_t kFrameSilenceMs = 500;
constexpr std::uint64_t kControlFileLookMs = 250;
// A panel that stops reading while it still asks is not allowed to make the queue grow.
constexpr std::size_t kMostQueuedWrites = 64;

// The time `bytes` take on a line at `baud`, ten bits to the byte (start, eight data, stop),
// rounded up. A write reaches the panel whole, when its last byte would have crossed the line:
// the panel sees the line's time, and what was written at once stays together.
std::uint64_t LineMilliseconds(std::size_t bytes, std::uint32_t baud) {
    return (static_cast<std::uint64_t>(bytes) * 10 * 1000 + baud - 1) / baud;
}

} // namespace

InstrumentLine::InstrumentLine(const ServerOptions& options, Clock& clock, std::mutex& model_mutex,
                               InstrumentModel& model)
    : options_(options), clock_(clock), model_mutex_(model_mutex), model_(model), responder_(model),
      faults_(options.faults),
      trace_(options.trace ? (options.trace_stream ? options.trace_stream : &std::cerr) : nullptr,
             clock),
      last_tick_(clock.TickCount()) {
    if (!options.control_path.empty()) {
        control_.emplace(options.control_path);
    }
}

std::uint64_t InstrumentLine::Elapsed() {
    const std::uint32_t tick = clock_.TickCount();
    elapsed_ += static_cast<std::uint32_t>(tick - last_tick_);
    last_tick_ = tick;
    return elapsed_;
}

void InstrumentLine::Receive(std::string_view bytes, std::uint32_t baud) {
    trace_.Received(bytes);
    last_byte_ = Elapsed();
    for (const char byte : bytes) {
        if (auto frame = decoder_.Feed(byte)) {
            HandleSafely(*frame, baud);
        }
    }
}

// Whatever the line brings, the instrument keeps serving.
void InstrumentLine::HandleSafely(const DecodedFrame& frame, std::uint32_t baud) {
    try {
        Handle(frame, baud);
    } catch (const std::exception& error) {
        trace_.Note(std::string("frame dropped: ") + error.what());
    }
}

void InstrumentLine::Handle(const DecodedFrame& frame, std::uint32_t baud) {
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
    // The request's own bytes came in over the line first: their time goes with the first
    // write's.
    std::size_t heard_bytes = frame.body.size() + (frame.kind == DecodedFrame::Kind::Poll ? 2 : 4);
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

std::uint64_t InstrumentLine::MillisecondsToNextWrite(std::uint64_t longest) {
    if (writes_.empty()) {
        return longest;
    }
    const std::uint64_t now = Elapsed();
    return writes_.front().due > now ? std::min(longest, writes_.front().due - now) : 0;
}

void InstrumentLine::WriteDue(const Writer& write) {
    const std::uint64_t now = Elapsed();
    while (!writes_.empty() && writes_.front().due <= now) {
        std::string& bytes = writes_.front().bytes;
        const std::size_t written = write(bytes);
        if (written > 0) {
            trace_.Sent(std::string_view(bytes).substr(0, written));
        }
        if (written < bytes.size()) {
            bytes.erase(0, written); // the panel is not reading: try again later
            return;
        }
        writes_.pop_front();
    }
}

void InstrumentLine::WriteHeld(const Writer& write) {
    const std::string held = faults_.TakeHeld();
    if (!held.empty()) {
        trace_.Sent(std::string_view(held).substr(0, write(held)));
    }
}

void InstrumentLine::Tick() {
    const std::uint64_t now = Elapsed();
    if (decoder_.InsideFrame() && now - last_byte_ > kFrameSilenceMs) {
        decoder_.Reset();
        trace_.Note("unfinished frame: ignored");
    }
    {
        std::lock_guard lock(model_mutex_);
        model_.Update();
    }
    ReadControlFile(now);
}

void InstrumentLine::Drop() {
    writes_.clear();
    decoder_.Reset();
}

void InstrumentLine::ReadControlFile(std::uint64_t now) {
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

} // namespace sim
