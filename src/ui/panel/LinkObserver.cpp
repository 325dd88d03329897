#include "LinkObserver.h"

#include "LocaleText.h"
#include "Windows1252.h"
#include "protocol/FrameLayer.h"

LinkObserver::LinkObserver(PanelState& state, PanelWindows& windows, Clock& clock,
                           MessagePump& pump)
    : state_(state), windows_(windows), clock_(clock), pump_(pump) {}

void LinkObserver::ShowCommsCount(int count) {
    if (windows_.mainDisplay != nullptr) {
        windows_.mainDisplay->ShowCommsCount(count);
    }
}

void LinkObserver::ShowBccErrorCount(int count) {
    if (windows_.mainDisplay != nullptr) {
        windows_.mainDisplay->ShowBccErrorCount(count);
    }
}

void LinkObserver::ShowOnline(bool online) {
    if (windows_.mainDisplay != nullptr) {
        windows_.mainDisplay->ShowOnline(online);
    }
}

void LinkObserver::ShowDiagnosticLine(const std::string& text) {
    if (windows_.mainDisplay != nullptr) {
        windows_.mainDisplay->ShowDiagnosticLine(FromWindows1252(text));
    }
}

void LinkObserver::ProcessMessages() {
    if (frames_ == nullptr) {
        return;
    }
    if (state_.Closing || PausedWaitExpired()) {
        // No reply will end this wait: the link is free again and the waiting sender goes on.
        frames_->SetCommsBusy(false);
        return;
    }
    pump_.WaitAndProcess();
}

bool LinkObserver::PausedWaitExpired() {
    const std::uint64_t transmitted = frames_->TransmittedFrameCount();
    if (transmitted != framesSeen_) {
        framesSeen_ = transmitted;
        transactionStart_ = clock_.TickCount();
    }
    const bool paused = windows_.main != nullptr && windows_.main->PollingPaused();
    // Unsigned difference: right across the wrap of the 32-bit tick.
    return paused && clock_.TickCount() - transactionStart_ >= kPausedWaitLimitMs;
}

std::string LinkObserver::FormatNow(const std::string& pattern) {
    return ToWindows1252(FormatDateTime(FromWindows1252(pattern), ToLocalDateTime(clock_.Now())));
}

bool LinkObserver::CommsLogActive() {
    return windows_.engineering != nullptr && windows_.engineering->CommsLogActive();
}

void LinkObserver::WriteCommsLogLine(const std::string& line) {
    if (windows_.engineering != nullptr) {
        windows_.engineering->WriteCommsLogLine(line);
    }
}
