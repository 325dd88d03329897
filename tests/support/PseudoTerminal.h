#pragma once

#include <chrono>
#include <string>
#include <termios.h>

// A pseudo-terminal pair for tests of the serial layer: the test holds the master side, the
// code under test opens SlavePath() like any serial device.
class PseudoTerminal {
public:
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    const std::string& SlavePath() const { return slavePath_; }
    // Writes all the bytes to the other side, waiting for room as needed.
    void Write(const std::string& bytes);
    // What the other side has sent and is waiting now.
    std::string ReadAvailable();
    // Reads until nothing more comes for quiet.
    std::string ReadUntilQuiet(std::chrono::milliseconds quiet);
    // The device's line settings, read and set from this side: once the code under test holds
    // the device exclusively, only root could open it a second time.
    termios TerminalSettings() const;
    void SetTerminalSettings(const termios& settings);
    // The other side goes away: the slave is hung up.
    void CloseMaster();

private:
    int master_ = -1;
    std::string slavePath_;
};
