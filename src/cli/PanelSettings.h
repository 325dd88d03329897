#pragma once

#include "base/SettingsStore.h"

#include <memory>
#include <string>

// The settings the panel stored, read only, where the panel keeps them on this system: the
// file "Vxxx Control Panel.ini" in $XDG_CONFIG_HOME (default ~/.config) on POSIX, the key
// kSettingsKey under the current user's registry root on Windows. Nothing stored holds no
// values; `problem` tells why a store that is there could not be read, empty when it could.
std::unique_ptr<SettingsStore> OpenPanelSettings(std::string& problem);
