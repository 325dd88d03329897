#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and `make run` need, when they are missing.
# Run as root it installs them; otherwise it prints the apt-get line to run. It also makes the
# German locale that the comma-locale tests run under. With the argument `package`, it also
# installs what `make package` and scripts/check-package.sh need; with `windows`, what the
# Windows build and its tests under Wine need (`make windows`, `make test-windows`).
set -euo pipefail

packages=(
    cmake ninja-build ccache g++ pkg-config make git clang-format
    libgtest-dev libgmock-dev
    libcli11-dev nlohmann-json3-dev
    qt6-base-dev qt6-base-dev-tools qt6-serialport-dev libgl-dev qtkeychain-qt6-dev
    libqcustomplot-dev libemf-dev
    libmosquitto-dev nlohmann-json3-dev mosquitto mosquitto-clients libssl-dev openssl
    clang libclang-rt-14-dev
    xvfb xauth xdotool x11-apps netpbm
    locales
)
if [ "${1:-}" = package ]; then
    packages+=(dpkg-dev librsvg2-bin lintian desktop-file-utils appstream systemd)
fi
if [ "${1:-}" = windows ]; then
    # dpkg-dev unpacks the mosquitto source package; googletest is GoogleTest's source.
    # x11-utils: the panel's test under Wine waits for its X server.
    packages+=(mingw-w64 g++-mingw-w64-x86-64-posix wine wine64 dpkg-dev googletest groff-base
        x11-utils)
fi
comma_locale=de_DE.UTF-8

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

comma_locale_missing() {
    ! locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\?8'
}

if [ ${#missing[@]} -eq 0 ] && ! comma_locale_missing; then
    exit 0
fi

if [ "$(id -u)" -ne 0 ]; then
    echo "Missing packages or locale; as root run:" >&2
    [ ${#missing[@]} -eq 0 ] || echo "  apt-get install ${missing[*]}" >&2
    ! comma_locale_missing || echo "  localedef -i de_DE -f UTF-8 $comma_locale" >&2
    exit 1
fi

if [ ${#missing[@]} -ne 0 ]; then
    export DEBIAN_FRONTEND=noninteractive
    apt-get update -q
    apt-get install -y -q --no-install-recommends "${missing[@]}"
fi
if comma_locale_missing; then
    localedef -i de_DE -f UTF-8 "$comma_locale"
fi
