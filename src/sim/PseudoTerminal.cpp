#include "sim/PseudoTerminal.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <system_error>
#include <termios.h>
#include <unistd.h>
#include <utility>
#include <vector>

namespace sim {

namespace {

[[noreturn]] void Fail(const char* what) {
    throw std::system_error(errno, std::generic_category(), what);
}

void MakeRaw(int descriptor) {
    termios settings{};
    if (tcgetattr(descriptor, &settings) != 0) {
        Fail("tcgetattr");
    }
    cfmakeraw(&settings);
    settings.c_cflag |= CLOCAL | CREAD;
    cfsetispeed(&settings, B38400);
    cfsetospeed(&settings, B38400);
    if (tcsetattr(descriptor, TCSANOW, &settings) != 0) {
        Fail("tcsetattr");
    }
}

} // namespace

PseudoTerminal::PseudoTerminal() {
    master_ = posix_openpt(O_RDWR | O_NOCTTY);
    if (master_ < 0) {
        Fail("posix_openpt");
    }
    try {
        if (grantpt(master_) != 0 || unlockpt(master_) != 0) {
            Fail("unlockpt");
        }
        char name[PATH_MAX];
        if (ptsname_r(master_, name, sizeof name) != 0) {
            Fail("ptsname_r");
        }
        path_ = name;
        held_panel_side_ = open(name, O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
        if (held_panel_side_ < 0) {
            Fail("open pseudo-terminal");
        }
        MakeRaw(held_panel_side_);
        const int flags = fcntl(master_, F_GETFL);
        if (flags < 0 || fcntl(master_, F_SETFL, flags | O_NONBLOCK) != 0 ||
            fcntl(master_, F_SETFD, FD_CLOEXEC) != 0) {
            Fail("fcntl");
        }
    } catch (...) {
        if (held_panel_side_ >= 0) {
            close(held_panel_side_);
        }
        close(master_);
        throw;
    }
}

PseudoTerminal::~PseudoTerminal() {
    close(held_panel_side_);
    close(master_);
}

std::uint32_t PseudoTerminal::BaudRate() const {
    // clang-format off
    static constexpr std::pair<speed_t, std::uint32_t> kRates[] = {
        {B50, 50}, {B75, 75}, {B110, 110}, {B134, 134}, {B150, 150}, {B200, 200}, {B300, 300},
        {B600, 600}, {B1200, 1200}, {B1800, 1800}, {B2400, 2400}, {B4800, 4800}, {B9600, 9600},
        {B19200, 19200}, {B38400, 38400}, {B57600, 57600}, {B115200, 115200}, {B230400, 230400},
        {B460800, 460800}, {B921600, 921600},
    };
    // clang-format on
    termios settings{};
    if (tcgetattr(held_panel_side_, &settings) == 0) {
        for (const auto& [speed, baud] : kRates) {
            if (cfgetospeed(&settings) == speed) {
                return baud;
            }
        }
    }
    return 38400;
}

DeviceLink::~DeviceLink() {
    Remove();
}

void DeviceLink::PointAt(const std::string& target) {
    if (link_path_.empty()) {
        return;
    }
    struct stat existing {};
    if (lstat(link_path_.c_str(), &existing) == 0 && !S_ISLNK(existing.st_mode)) {
        errno = EEXIST; // never replace a real file with the link
        Fail("link path");
    }
    const std::string temporary = link_path_ + ".new";
    unlink(temporary.c_str());
    if (symlink(target.c_str(), temporary.c_str()) != 0) {
        Fail("symlink");
    }
    if (rename(temporary.c_str(), link_path_.c_str()) != 0) {
        const int error = errno;
        unlink(temporary.c_str());
        errno = error;
        Fail("rename link");
    }
    target_ = target;
}

void DeviceLink::Remove() {
    if (link_path_.empty() || target_.empty()) {
        return;
    }
    std::vector<char> pointed(PATH_MAX + 1, '\0');
    const ssize_t length = readlink(link_path_.c_str(), pointed.data(), PATH_MAX);
    if (length > 0 && std::string(pointed.data(), static_cast<std::size_t>(length)) == target_) {
        unlink(link_path_.c_str());
    }
    target_.clear();
}

} // namespace sim
