#include "support/PseudoTerminal.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <poll.h>
#include <stdexcept>
#include <unistd.h>

PseudoTerminal::PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (master_ < 0 || grantpt(master_) != 0 || unlockpt(master_) != 0) {
        throw std::runtime_error("cannot make a pseudo-terminal");
    }
    char name[128];
    if (ptsname_r(master_, name, sizeof name) != 0) {
        throw std::runtime_error("pseudo-terminal has no name");
    }
    slavePath_ = name;
}

PseudoTerminal::~PseudoTerminal() {
    CloseMaster();
}

void PseudoTerminal::Write(const std::string& bytes) {
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t written = ::write(master_, bytes.data() + done, bytes.size() - done);
        if (written > 0) {
            done += static_cast<std::size_t>(written);
        } else if (written < 0 && errno == EAGAIN) {
            pollfd room{master_, POLLOUT, 0};
            poll(&room, 1, 50);
        } else {
            throw std::runtime_error("cannot write to the pseudo-terminal");
        }
    }
}

std::string PseudoTerminal::ReadAvailable() {
    std::string received;
    char buffer[4096];
    for (;;) {
        const ssize_t got = ::read(master_, buffer, sizeof buffer);
        if (got <= 0) {
            return received;
        }
        received.append(buffer, static_cast<std::size_t>(got));
    }
}

std::string PseudoTerminal::ReadUntilQuiet(std::chrono::milliseconds quiet) {
    std::string received;
    for (;;) {
        pollfd input{master_, POLLIN, 0};
        if (poll(&input, 1, static_cast<int>(quiet.count())) <= 0 || !(input.revents & POLLIN)) {
            return received;
        }
        const std::string more = ReadAvailable();
        if (more.empty()) {
            return received;
        }
        received += more;
    }
}

termios PseudoTerminal::TerminalSettings() const {
    termios settings{};
    if (tcgetattr(master_, &settings) != 0) {
        throw std::runtime_error("cannot read the pseudo-terminal's settings");
    }
    return settings;
}

void PseudoTerminal::SetTerminalSettings(const termios& settings) {
    if (tcsetattr(master_, TCSANOW, &settings) != 0) {
        throw std::runtime_error("cannot set the pseudo-terminal's settings");
    }
}

void PseudoTerminal::CloseMaster() {
    if (master_ >= 0) {
        ::close(master_);
        master_ = -1;
    }
}
