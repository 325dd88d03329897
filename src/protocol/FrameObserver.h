#pragma once

#include <string>

namespace protocol {

// What the frame layer shows of the link, and what it needs of the front end that uses it.
// Texts are bytes as exchanged with the instrument (Windows-1252); the front end converts them
// for display.
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    // The outstanding-request count: frames sent that got no usable answer.
    virtual void ShowCommsCount(int count) = 0;
    // The count of framed replies whose check byte did not match.
    virtual void ShowBccErrorCount(int count) = 0;
    // Whether the last frame sent has been answered.
    virtual void ShowOnline(bool online) = 0;
    // One line about what went out or came in, for diagnosis.
    virtual void ShowDiagnosticLine(const std::string& text) = 0;
    // The current date and time in the program's pattern language ("dd.mm.yy hh:mm:ss",
    // quoted text copied, ':' the locale's time separator).
    virtual std::string FormatNow(const std::string& pattern) = 0;
    // The comms-transaction log: whether it is active, and one line to append (the line end is
    // the log's business).
    virtual bool CommsLogActive() = 0;
    virtual void WriteCommsLogLine(const std::string& line) = 0;
};

} // namespace protocol
