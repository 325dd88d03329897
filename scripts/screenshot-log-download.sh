#!/usr/bin/env bash
# Pictures of the logged-data download on a virtual X display, against the simulator holding
# RECORDS records (default 60) that loses three replies in a row from the 40th on:
#   scripts/screenshot-log-download.sh [OUTPUT-FOLDER]
# running.png while records arrive (Cancel in Download's place, the gauge, the file's name),
# done.png at the end with the notice of the record that did not arrive.
set -euo pipefail
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-build}")
export ASAN_OPTIONS=detect_leaks=0   # the X libraries keep a few buffers to the end
build=$(realpath "${BUILD_DIR:-build/dev}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$output" "$work/config"
printf '[Control]\nLeft1=0\nTop1=580\nLeft3=0\nTop3=0\nVisible3=1\n' \
    > "$work/config/Vxxx Control Panel.ini"

xvfb-run -a -s "-screen 0 660x820x24" bash -c '
    set -euo pipefail
    cd "$1"
    shot() { xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$4/$1"; }
    "$2/src/sim/vxxx-sim" --records "${RECORDS:-60}" --drop 3@40 --link "$1/vxxx" > /dev/null &
    simulator=$!
    sleep 1
    XDG_CONFIG_HOME="$1/config" "$2/src/app/control-panel" --port "$1/vxxx" &
    panel=$!
    sleep 5
    xdotool mousemove 40 502 click 1    # Download, in the logging group
    sleep 1
    xdotool key y                       # "Download all logged data?"
    sleep 6
    shot running.png "$@"
    sleep $(( ${RECORDS:-60} / 3 + 6 ))
    shot done.png "$@"
    kill -TERM "$panel" "$simulator"
    wait "$panel" || true
' screenshot "$work" "$build" "$output"
echo "$output/running.png $output/done.png"
