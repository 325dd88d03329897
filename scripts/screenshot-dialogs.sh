#!/usr/bin/env bash
# Takes a picture of the three small dialogs (About, enter-a-value, pick-one-item) shown at once
# by the dialogs demo, on a virtual X display: scripts/screenshot-dialogs.sh [OUTPUT.png]
set -euo pipefail
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-build/dialogs.png}")
export ASAN_OPTIONS=detect_leaks=0   # the X libraries keep a few buffers to the end
program=$(realpath "${BUILD_DIR:-build/dev}/tests/ui/dialogs/dialogs-demo")
mkdir -p "$(dirname "$output")"

xvfb-run -a -s "-screen 0 640x440x24" bash -c '
    set -euo pipefail
    "$1" &
    demo=$!
    sleep 3
    xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$2"
    kill -TERM "$demo"
    wait "$demo" || true
' screenshot "$program" "$output"
echo "$output"
