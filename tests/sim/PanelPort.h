#pragma once

#include "protocol/FrameLayer.h"

#include <chrono>
#include <fcntl.h>
#include <poll.h>
#include <string>
#include <termios.h>
#include <thread>
#include <unistd.h>

// The panel's end of the simulator's pseudo-terminal, opened as the panel opens its port.
class PanelPort {
public:
    explicit PanelPort(const std::string& path)
        : descriptor_(open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK)) {}
    ~PanelPort() { Close(); }
    PanelPort(const PanelPort&) = delete;
    PanelPort& operator=(const PanelPort&) = delete;

    bool IsOpen() const { return descriptor_ >= 0; }
    void Close() {
        if (descriptor_ >= 0) {
            close(descriptor_);
        }
        descriptor_ = -1;
    }
    bool Send(const std::string& bytes) {
        return write(descriptor_, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    }
    // Everything that arrives until the line has been quiet for `quiet_ms`, at most `limit_ms`.
    std::string Receive(int quiet_ms = 150, int limit_ms = 3000) {
        std::string received;
        const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
        while (std::chrono::steady_clock::now() < end) {
            pollfd watched{descriptor_, POLLIN, 0};
            if (poll(&watched, 1, quiet_ms) <= 0 || (watched.revents & POLLIN) == 0) {
                if (!received.empty() || (watched.revents & (POLLHUP | POLLERR)) != 0) {
                    break;
                }
                continue;
            }
            char buffer[512];
            const ssize_t length = read(descriptor_, buffer, sizeof buffer);
            if (length <= 0) {
                break;
            }
            received.append(buffer, static_cast<std::size_t>(length));
        }
        return received;
    }
    std::string Ask(const std::string& bytes, int quiet_ms = 150) {
        Send(bytes);
        return Receive(quiet_ms);
    }
    // True once the other side has gone: reads fail or report a hang-up.
    bool HungUp() {
        pollfd watched{descriptor_, POLLIN, 0};
        if (poll(&watched, 1, 0) < 0) {
            return true;
        }
        if ((watched.revents & (POLLHUP | POLLERR)) != 0) {
            return true;
        }
        char byte;
        return (watched.revents & POLLIN) != 0 && read(descriptor_, &byte, 1) <= 0;
    }
    bool IsRaw() const {
        termios settings{};
        return tcgetattr(descriptor_, &settings) == 0 && (settings.c_lflag & (ECHO | ICANON)) == 0;
    }

private:
    int descriptor_;
};

// Frames as the panel sends them; requests are framed by the panel's own RequestFrame.
inline std::string PollFrame(const std::string& body) {
    return "\x04" + body + "\x05";
}
