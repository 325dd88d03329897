#include "LinkObserver.h"

#include "LocaleText.h"
#include "Windows1252.h"

LinkObserver::LinkObserver(PanelWindows& windows, Clock& clock)
    : windows_(windows), clock_(clock) {}

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
