#pragma once

#include <cstdint>
#include <string>
#include <utility>

namespace sim {

// A pseudo-terminal pair: the simulator keeps the controlling side, the panel opens the other
// side by its path. The panel's side is put in raw mode at 38400 baud and held open here too,
// so a panel that closes and reopens the port finds the same device in the same state, and the
// controlling side never reads end-of-file between the panel's opens.
class PseudoTerminal {
public:
    // Opens a new pair; throws std::system_error when the system has none to give.
    PseudoTerminal();
    ~PseudoTerminal();
    PseudoTerminal(const PseudoTerminal&) = delete;
    PseudoTerminal& operator=(const PseudoTerminal&) = delete;

    // The controlling side, non-blocking.
    int Descriptor() const { return master_; }
    // The path of the side the panel opens, e.g. /dev/pts/3.
    const std::string& Path() const { return path_; }
    // The speed the panel set on its side, in baud; 38400 when it is none the system names.
    std::uint32_t BaudRate() const;

private:
    int master_ = -1;
    int held_panel_side_ = -1;
    std::string path_;
};

// A symbolic link to the pseudo-terminal, replaced atomically when the instrument comes back
// on another one.
class DeviceLink {
public:
    DeviceLink() = default;
    explicit DeviceLink(std::string link_path) : link_path_(std::move(link_path)) {}
    ~DeviceLink();
    DeviceLink(const DeviceLink&) = delete;
    DeviceLink& operator=(const DeviceLink&) = delete;

    // Points the link at `target`; throws std::system_error when it cannot.
    void PointAt(const std::string& target);
    // Removes the link, if it is still the one this object made.
    void Remove();

private:
    std::string link_path_;
    std::string target_;
};

} // namespace sim
