#!/usr/bin/env bash
# Builds the Debian package and checks it as an installation would meet it: lintian finds no
# error, the desktop entry and the AppStream metadata are valid, every program answers
# --version from the unpacked package, and systemd accepts the logging service's unit and rates
# its sandbox at an exposure of 1.5 or less.
set -euo pipefail
cd "$(dirname "$0")/.."
make --no-print-directory package
deb=$(ls -t build/release/vxxx-control-panel_*.deb | head -1)
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT

echo "== lintian $deb"
lintian --fail-on error,warning --display-info "$deb"

dpkg-deb -x "$deb" "$root"
echo "== desktop entry and AppStream metadata"
desktop-file-validate "$root"/usr/share/applications/*.desktop
appstreamcli validate-tree --no-net "$root" # the metadata and the desktop entry it names

echo "== the programs, unpacked"
for program in "$root"/usr/bin/*; do
    "$program" --version
done

unit=$root/lib/systemd/system/vxxx-read@.service
if [ -e "$unit" ]; then
    echo "== the logging service"
    # An instance of the unit whose program is the unpacked one: the check wants it to exist.
    # Any remark fails, not only an error.
    sed "s#/usr/bin/#$root/usr/bin/#" "$unit" >"$root/vxxx-read@example.service"
    remarks=$(MANPATH=$root/usr/share/man systemd-analyze verify "$root/vxxx-read@example.service" 2>&1)
    [ -z "$remarks" ] || { echo "$remarks"; exit 1; }
    echo "== the logging service's sandbox"
    systemd-analyze security --offline=yes --threshold=15 "$root/vxxx-read@example.service"
else
    echo "== no vxxx in this build, so no logging service to check"
fi
echo "The package passes its checks."
