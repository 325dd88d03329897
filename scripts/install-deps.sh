#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need, when they are missing.
# Run as root it installs them; otherwise it prints the apt-get line to run.
set -euo pipefail

packages=(
    cmake ninja-build g++ pkg-config make git clang-format
    libgtest-dev libgmock-dev
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev
    libqcustomplot-dev libemf-dev
    libmosquitto-dev nlohmann-json3-dev mosquitto mosquitto-clients
    clang libclang-rt-14-dev
    xvfb xauth xdotool x11-apps netpbm
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

[ ${#missing[@]} -eq 0 ] && exit 0

if [ "$(id -u)" -eq 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
else
    echo "Missing packages; install them with:" >&2
    echo "  sudo apt-get install ${missing[*]}" >&2
    exit 1
fi
