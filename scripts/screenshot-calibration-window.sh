#!/usr/bin/env bash
# Takes pictures of the calibration window through a calibration against the built-in
# simulator, on a virtual X display: at Zero with two channels selected, while sampling and at
# Ready. scripts/screenshot-calibration-window.sh [OUTPUT_FOLDER] (default build/)
set -euo pipefail
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-build}")
build=${BUILD_DIR:-build/dev}
cmake --build "$build" --target calibration-shots >/dev/null
export ASAN_OPTIONS=detect_leaks=0   # the X libraries keep a few buffers to the end
mkdir -p "$output"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
XDG_CONFIG_HOME="$work" xvfb-run -a -s "-screen 0 1280x1024x24" \
    "$(realpath "$build/tests/ui/calibration/calibration-shots")" "$output"
