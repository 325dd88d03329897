#pragma once

#include <string>

// What the frame layer shows and needs on the main window. Texts are bytes as exchanged with
// the instrument (Windows-1252); the window converts them for display.
class FrameObserver {
public:
    virtual ~FrameObserver() = default;
    // lComm_count: the outstanding-request count.
    virtual void ShowCommsCount(int count) = 0;
    // lBCC_error: the BCC error count.
    virtual void ShowBccErrorCount(int count) = 0;
    // The online indicator: green (iOnline1) when true, grey (iOnline0) when false.
    virtual void ShowOnline(bool online) = 0;
    // lTest, the diagnostic line.
    virtual void ShowDiagnosticLine(const std::string& text) = 0;
    // Processes the window messages that are pending; the busy waits call it until the link
    // is free, so timer ticks, clicks and received clusters are handled meanwhile.
    virtual void ProcessMessages() = 0;
    // The current date and time in the program's pattern language ("dd.mm.yy hh:mm:ss",
    // quoted text copied, ':' the locale's time separator).
    virtual std::string FormatNow(const std::string& pattern) = 0;
    // The comms-transaction log of the engineering window: whether it is active, and one line
    // to append (the line end is the log's business).
    virtual bool CommsLogActive() = 0;
    virtual void WriteCommsLogLine(const std::string& line) = 0;
};
