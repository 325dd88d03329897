// The device layer on POSIX: a terminal device opened exclusively, raw and non-blocking,
// watched with poll(). Queue counts, modem lines and line-error counters come from ioctls; a
// device that has no modem lines or counters (a pseudo-terminal) is found out once at open.

#include "SerialDevice.h"

#include <array>
#include <atomic>
#include <cerrno>
#include <fcntl.h>
#include <linux/serial.h>
#include <mutex>
#include <poll.h>
#include <shared_mutex>
#include <string>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#include <utility>

namespace {

// clang-format off
constexpr std::array<std::pair<std::uint32_t, speed_t>, 31> kSpeeds{{
    {50, B50},         {75, B75},         {110, B110},       {134, B134},
    {150, B150},       {200, B200},       {300, B300},       {600, B600},
    {1200, B1200},     {1800, B1800},     {2400, B2400},     {4800, B4800},
    {9600, B9600},     {19200, B19200},   {38400, B38400},   {57600, B57600},
    {115200, B115200}, {230400, B230400}, {460800, B460800}, {500000, B500000},
    {576000, B576000}, {921600, B921600}, {1000000, B1000000}, {1152000, B1152000},
    {1500000, B1500000}, {2000000, B2000000}, {2500000, B2500000}, {3000000, B3000000},
    {3500000, B3500000}, {4000000, B4000000}, {0, B0},
}};
// clang-format on

bool SpeedFor(std::uint32_t baudRate, speed_t& speed) {
    for (const auto& [rate, code] : kSpeeds) {
        if (rate == baudRate) {
            speed = code;
            return true;
        }
    }
    return false;
}

std::uint32_t RateOf(speed_t speed) {
    for (const auto& [rate, code] : kSpeeds) {
        if (code == speed) {
            return rate;
        }
    }
    return 0;
}

// A raw line at the given speed, receiver on, modem lines ignored, reads returning at once
// with what is queued. Built from nothing: flow control, parity handling and the like left by
// the device's previous user must not survive.
termios RawLine(speed_t speed) {
    termios settings{};
    settings.c_cflag = CS8 | CLOCAL | CREAD;
    cfsetispeed(&settings, speed);
    cfsetospeed(&settings, speed);
    return settings;
}

// Errors that mean the device itself has gone (unplugged, hung up).
bool IsDeviceGone(int error) {
    return error == EIO || error == ENXIO || error == ENODEV;
}

class PosixSerialDevice final : public SerialDevice {
public:
    PosixSerialDevice() : wakeFd_(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC)) {}

    ~PosixSerialDevice() override {
        Close();
        if (wakeFd_ >= 0) {
            ::close(wakeFd_);
        }
    }

    int Open(const std::string& path) override {
        std::unique_lock lock(fdMutex_);
        if (fd_ >= 0) {
            return EBUSY;
        }
        const int fd = ::open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0) {
            return errno;
        }
        termios previous{};
        if (ioctl(fd, TIOCEXCL) != 0 || tcgetattr(fd, &previous) != 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        // Only the speed is kept until the port's own settings follow: speed 0 would hang the
        // line up.
        const termios settings = RawLine(cfgetospeed(&previous));
        if (tcsetattr(fd, TCSANOW, &settings) != 0) {
            const int error = errno;
            ::close(fd);
            return error;
        }
        int lines = 0;
        hasModemLines_ = ioctl(fd, TIOCMGET, &lines) == 0;
        hasCounters_ = ioctl(fd, TIOCGICOUNT, &counters_) == 0;
        DrainWake();
        lostError_ = 0;
        fd_ = fd;
        return 0;
    }

    int Close() override {
        Wake();
        std::unique_lock lock(fdMutex_);
        if (fd_ < 0) {
            return EBADF;
        }
        // A pseudo-terminal outlives this close and would stay exclusive: only root could
        // open it again.
        ioctl(fd_, TIOCNXCL);
        const int result = ::close(fd_);
        const int error = errno;
        fd_ = -1;
        std::lock_guard writeLock(writeMutex_);
        pending_.clear();
        aborted_ = false;
        return result == 0 ? 0 : error;
    }

    bool IsOpen() const override {
        std::shared_lock lock(fdMutex_);
        return fd_ >= 0;
    }

    std::uint32_t Handle() const override {
        std::shared_lock lock(fdMutex_);
        return fd_ >= 0 ? static_cast<std::uint32_t>(fd_) : kNoHandle;
    }

    int LostError() const override { return lostError_; }

    int SetQueueSizes(std::uint32_t, std::uint32_t) override {
        // The driver's queues have their own fixed sizes here; only an open device is asked.
        std::shared_lock lock(fdMutex_);
        return fd_ >= 0 ? 0 : EBADF;
    }

    int GetLineSettings(LineSettings& current) override {
        std::shared_lock lock(fdMutex_);
        termios settings{};
        if (tcgetattr(fd_, &settings) != 0) {
            return Failed(errno);
        }
        current.baudRate = RateOf(cfgetospeed(&settings));
        switch (settings.c_cflag & CSIZE) {
        case CS5:
            current.byteSize = 5;
            break;
        case CS6:
            current.byteSize = 6;
            break;
        case CS7:
            current.byteSize = 7;
            break;
        default:
            current.byteSize = 8;
            break;
        }
        return 0;
    }

    int SetLineSettings(const LineSettings& line) override {
        std::shared_lock lock(fdMutex_);
        speed_t speed{};
        if (!SpeedFor(line.baudRate, speed) || line.byteSize < 5 || line.byteSize > 8 ||
            line.parity > 4 || line.stopBits > 2) {
            return EINVAL;
        }
        termios settings = RawLine(speed);
        settings.c_cflag &= ~CSIZE;
        static constexpr std::array<tcflag_t, 4> kSizes{CS5, CS6, CS7, CS8};
        settings.c_cflag |= kSizes[line.byteSize - 5];
        switch (line.parity) {
        case 1:
            settings.c_cflag |= PARENB | PARODD;
            break;
        case 2:
            settings.c_cflag |= PARENB;
            break;
        case 3:
            settings.c_cflag |= PARENB | CMSPAR | PARODD;
            break;
        case 4:
            settings.c_cflag |= PARENB | CMSPAR;
            break;
        default:
            break;
        }
        if (line.stopBits != 0) {
            settings.c_cflag |= CSTOPB; // one and a half has no setting of its own here
        }
        if (line.flags & LineFlag::kParityCheck) {
            settings.c_iflag |= INPCK;
        }
        if (line.flags & (LineFlag::kOutCtsFlow | LineFlag::kRtsHandshake)) {
            settings.c_cflag |= CRTSCTS;
        }
        if (line.flags & LineFlag::kOutXonXoff) {
            settings.c_iflag |= IXON;
        }
        if (line.flags & LineFlag::kInXonXoff) {
            settings.c_iflag |= IXOFF;
        }
        settings.c_cc[VSTART] = static_cast<cc_t>(line.xonChar);
        settings.c_cc[VSTOP] = static_cast<cc_t>(line.xoffChar);
        if (tcsetattr(fd_, TCSANOW, &settings) != 0) {
            return Failed(errno);
        }
        discardNull_ = (line.flags & LineFlag::kDiscardNull) != 0;
        return 0;
    }

    int SetEventMask(std::uint32_t mask) override {
        eventMask_ = mask;
        return mask == 0 ? Wake() : 0;
    }

    std::uint32_t EventMask() const override { return eventMask_; }

    int SetRts(bool raised) override { return SetModemLine(TIOCM_RTS, raised); }
    int SetDtr(bool raised) override { return SetModemLine(TIOCM_DTR, raised); }

    int SetBreak(bool on) override {
        std::shared_lock lock(fdMutex_);
        return ioctl(fd_, on ? TIOCSBRK : TIOCCBRK) == 0 ? 0 : Failed(errno);
    }

    int Purge() override {
        std::shared_lock lock(fdMutex_);
        {
            std::lock_guard writeLock(writeMutex_);
            if (!pending_.empty()) {
                pending_.clear();
                aborted_ = true;
            }
        }
        return tcflush(fd_, TCIOFLUSH) == 0 ? 0 : Failed(errno);
    }

    WriteProgress StartWrite(const char* data, std::uint32_t count) override {
        std::shared_lock lock(fdMutex_);
        std::lock_guard writeLock(writeMutex_);
        pending_.assign(data, count);
        written_ = 0;
        aborted_ = false;
        return WriteMore();
    }

    WriteProgress ContinueWrite() override {
        std::shared_lock lock(fdMutex_);
        std::lock_guard writeLock(writeMutex_);
        if (aborted_) {
            aborted_ = false;
            return {WriteProgress::State::Failed, written_, ECANCELED};
        }
        return WriteMore();
    }

    void AbandonWrite() override {
        std::lock_guard writeLock(writeMutex_);
        pending_.clear();
        aborted_ = false;
    }

    int GetModemStatus(std::uint32_t& word) override {
        std::shared_lock lock(fdMutex_);
        word = 0;
        if (fd_ >= 0 && !hasModemLines_) {
            return 0;
        }
        int lines = 0;
        if (ioctl(fd_, TIOCMGET, &lines) != 0) {
            return Failed(errno);
        }
        if (lines & TIOCM_CTS) {
            word |= ModemLine::kCts;
        }
        if (lines & TIOCM_DSR) {
            word |= ModemLine::kDsr;
        }
        if (lines & TIOCM_RNG) {
            word |= ModemLine::kRing;
        }
        if (lines & TIOCM_CAR) {
            word |= ModemLine::kRlsd;
        }
        return 0;
    }

    int ClearErrors(DeviceStatus& status) override {
        std::shared_lock lock(fdMutex_);
        int inQueue = 0;
        int outQueue = 0;
        if (ioctl(fd_, TIOCINQ, &inQueue) != 0 || ioctl(fd_, TIOCOUTQ, &outQueue) != 0) {
            return Failed(errno);
        }
        status = DeviceStatus{};
        status.inQueue = static_cast<std::uint32_t>(inQueue);
        status.outQueue = static_cast<std::uint32_t>(outQueue);
        if (hasCounters_) {
            serial_icounter_struct now{};
            if (ioctl(fd_, TIOCGICOUNT, &now) != 0) {
                return Failed(errno);
            }
            if (now.buf_overrun != counters_.buf_overrun) {
                status.errors |= LineError::kRxOverflow;
            }
            if (now.overrun != counters_.overrun) {
                status.errors |= LineError::kOverrun;
            }
            if (now.parity != counters_.parity) {
                status.errors |= LineError::kParity;
            }
            if (now.frame != counters_.frame) {
                status.errors |= LineError::kFraming;
            }
            if (now.brk != counters_.brk) {
                status.errors |= LineError::kBreak;
            }
            counters_ = now;
        }
        return 0;
    }

    int Read(char* buffer, std::uint32_t count, std::uint32_t& got) override {
        std::shared_lock lock(fdMutex_);
        got = 0;
        const ssize_t result = ::read(fd_, buffer, count);
        if (result < 0) {
            return errno == EAGAIN ? 0 : Failed(errno);
        }
        for (ssize_t i = 0; i < result; ++i) {
            if (buffer[i] != 0 || !discardNull_) {
                buffer[got++] = buffer[i];
            }
        }
        return 0;
    }

    WaitOutcome Wait(bool forInput, bool forOutput, std::uint32_t timeoutMilliseconds) override {
        std::shared_lock lock(fdMutex_);
        std::array<pollfd, 2> watched{};
        nfds_t count = 0;
        const bool watchesWake = wakeFd_ >= 0;
        if (watchesWake) {
            watched[count++] = {wakeFd_, POLLIN, 0};
        }
        const nfds_t device = count;
        if (fd_ >= 0 && lostError_ == 0) {
            const short events =
                static_cast<short>((forInput ? POLLIN : 0) | (forOutput ? POLLOUT : 0));
            watched[count++] = {fd_, events, 0};
        }
        const int ready = poll(watched.data(), count, static_cast<int>(timeoutMilliseconds));
        if (ready < 0) {
            return errno == EINTR ? WaitOutcome{}
                                  : WaitOutcome{WaitOutcome::State::Failed, false, false, errno};
        }
        WaitOutcome outcome;
        if (ready == 0) {
            return outcome;
        }
        outcome.state = WaitOutcome::State::Signalled;
        if (watchesWake && (watched[0].revents & POLLIN)) {
            DrainWake();
            outcome.woken = true;
        }
        if (device < count) {
            const short seen = watched[device].revents;
            if (seen & (POLLHUP | POLLERR | POLLNVAL)) {
                return {WaitOutcome::State::Failed, false, outcome.woken, Failed(EIO)};
            }
            outcome.inputArrived = (seen & POLLIN) != 0;
        }
        return outcome;
    }

private:
    int Failed(int error) {
        int none = 0;
        if (IsDeviceGone(error)) {
            lostError_.compare_exchange_strong(none, error);
        }
        return error;
    }

    int Wake() {
        const std::uint64_t one = 1;
        if (wakeFd_ < 0) {
            return EBADF;
        }
        return ::write(wakeFd_, &one, sizeof one) == sizeof one ? 0 : errno;
    }

    void DrainWake() {
        std::uint64_t count = 0;
        if (wakeFd_ >= 0) {
            [[maybe_unused]] const ssize_t ignored = ::read(wakeFd_, &count, sizeof count);
        }
    }

    int SetModemLine(int line, bool raised) {
        std::shared_lock lock(fdMutex_);
        if (fd_ >= 0 && !hasModemLines_) {
            return 0; // nothing to drive
        }
        return ioctl(fd_, raised ? TIOCMBIS : TIOCMBIC, &line) == 0 ? 0 : Failed(errno);
    }

    // Writes as much of the pending bytes as the device takes now. Called with writeMutex_.
    WriteProgress WriteMore() {
        while (written_ < pending_.size()) {
            const ssize_t result =
                ::write(fd_, pending_.data() + written_, pending_.size() - written_);
            if (result < 0) {
                if (errno == EAGAIN) {
                    return {WriteProgress::State::Pending, written_, 0};
                }
                const int error = Failed(errno);
                pending_.clear();
                return {WriteProgress::State::Failed, written_, error};
            }
            written_ += static_cast<std::uint32_t>(result);
        }
        pending_.clear();
        return {WriteProgress::State::Completed, written_, 0};
    }

    mutable std::shared_mutex fdMutex_; // exclusive only to open and close the device
    int fd_ = -1;
    const int wakeFd_;
    bool hasModemLines_ = false;
    bool hasCounters_ = false;
    serial_icounter_struct counters_{};
    std::atomic<int> lostError_{0};
    std::atomic<bool> discardNull_{false};
    std::atomic<std::uint32_t> eventMask_{0};

    std::mutex writeMutex_;
    std::string pending_;
    std::uint32_t written_ = 0;
    bool aborted_ = false;
};

} // namespace

std::unique_ptr<SerialDevice> MakeSystemSerialDevice() {
    return std::make_unique<PosixSerialDevice>();
}

std::string DevicePath(const std::string& portName) {
    return portName.find('/') == std::string::npos ? "/dev/" + portName : portName;
}
