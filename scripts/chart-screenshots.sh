#!/usr/bin/env bash
# Screenshots of the real-time chart window in 2D and in 3D, filled by the demo program, on a
# virtual X display: a short window of recent readings, a long "Auto" chart, and one with
# hidden channels.
#
#   scripts/chart-screenshots.sh [output directory]     (default build/chart-screenshots)
# PRESET selects the build (default release).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-release}
out=$(realpath -m "${1:-build/chart-screenshots}")
mkdir -p "$out"

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target chart-demo
demo=$PWD/build/$preset/tests/ui/chart/chart-demo

export ASAN_OPTIONS=detect_leaks=0
shoot() {
    local name=$1
    shift
    xvfb-run -a -s "-screen 0 1280x1024x24" "$demo" "$@" --screenshot "$out/$name.png"
}
shoot window-2d --ticks 120
shoot window-3d --ticks 120 --3d
shoot auto-2d --ticks 200000 --auto
shoot auto-3d --ticks 200000 --auto --3d
shoot hidden-3d --ticks 120 --3d --hide 2457
ls -l "$out"
