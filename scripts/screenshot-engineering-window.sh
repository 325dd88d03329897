#!/usr/bin/env bash
# Takes a picture of the engineering window after a register read from the built-in simulator,
# on a virtual X display: scripts/screenshot-engineering-window.sh [OUTPUT.png]
# PRESET selects the build (default dev).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-dev}
output=$(realpath -m "${1:-build/engineering-window.png}")
cmake --build --preset "$preset" --target engineering-screenshot >/dev/null
program=$(realpath "build/$preset/tests/ui/engineering/engineering-screenshot")
export ASAN_OPTIONS=detect_leaks=0   # the X libraries keep a few buffers to the end
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$output")"
(cd "$work" && XDG_CONFIG_HOME="$work" xvfb-run -a -s "-screen 0 1280x1024x24" "$program" "$output")
echo "$output"
