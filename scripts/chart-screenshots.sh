#!/usr/bin/env bash
# Screenshots of the real-time chart window in 2D and in 3D, filled by the demo program, on a
# virtual X display: a short window of recent readings, a long "Auto" chart, one with hidden
# channels, and logged files: a 30-day download with missing records, and a day's PC log with
# decimal commas.
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

# A 30-day download at a 10-minute interval with two stretches of missing records, and a day's
# PC log at 10 s with decimal commas.
files=$(mktemp -d)
trap 'rm -rf "$files"' EXIT
awk 'BEGIN {
    for (i = 0; i < 30 * 144; i++) {
        if ((i > 1500 && i < 1700) || (i > 3000 && i < 3010)) continue
        t = i * 600; d = int(t / 86400); s = t % 86400
        printf "%04d,%02d/12/26 %02d:%02d:%02d", (i + 1) % 10000, d + 1, s / 3600, s / 60 % 60, s % 60
        for (c = 1; c <= 8; c++) printf ";%.4f", 20 + 6 * c + 3 * sin(t / 86400 * 6.283 + c) + sin(t / 7000 * c)
        printf "\r\n"
    } }' >"$files/V630 20261231120000.csv"
awk 'BEGIN {
    for (i = 0; i < 8640; i++) {
        t = i * 10; printf "07.12.26 %02d:%02d:%02d", t / 3600, t / 60 % 60, t % 60
        for (c = 0; c <= 8; c++) {
            v = sprintf("%.4f", 25 + 5 * c * (1 - exp(-t / (3000 * (c + 1)))) + 0.3 * sin(t / 300 + c))
            sub(/\./, ",", v); printf ";%s", v
        }
        printf "\r\n"
    } }' >"$files/PC 20261207000000.csv"
shoot download-2d --ticks 1 --open "$files/V630 20261231120000.csv"
shoot download-3d --ticks 1 --3d --open "$files/V630 20261231120000.csv"
LC_ALL=de_DE.UTF-8 shoot pc-log-comma-2d --ticks 1 --open "$files/PC 20261207000000.csv"
ls -l "$out"
