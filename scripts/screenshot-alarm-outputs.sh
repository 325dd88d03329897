#!/usr/bin/env bash
# Takes a picture of the configuration window with its alarm outputs table in the three sync
# colours (in step, not reported, loaded), on a virtual X display:
#   scripts/screenshot-alarm-outputs.sh [OUTPUT.png]
# PRESET selects the build (default dev).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-dev}
output=$(realpath -m "${1:-build/alarm-outputs.png}")
cmake --build --preset "$preset" --target alarm-outputs-screenshot >/dev/null
program=$(realpath "build/$preset/tests/ui/config/alarm-outputs-screenshot")
export ASAN_OPTIONS=detect_leaks=0   # the X libraries keep a few buffers to the end
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$output")"
(cd "$work" && XDG_CONFIG_HOME="$work" xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$output")
echo "$output"
