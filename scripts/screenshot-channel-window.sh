#!/usr/bin/env bash
# Pictures of the channel configuration window in its three colours, on a virtual X display:
#   green     in step with the built-in simulator (channel 3's reply has come)
#   sky blue  the same after the operator chose another sensor type (not yet sent)
#   red       on a port where no instrument answers (the channel poll stays unanswered)
#
#   scripts/screenshot-channel-window.sh [output directory]     (default build/channel-window)
# BUILD_DIR selects the build (default build/dev).
set -euo pipefail
cd "$(dirname "$0")/.."
out=$(realpath -m "${1:-build/channel-window}")
program=$(realpath "${BUILD_DIR:-build/dev}/src/app/control-panel")
export ASAN_OPTIONS=detect_leaks=0 # the X libraries keep a few buffers to the end
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$out" "$work/config"

# One run of the panel with the channel window open on channel 3: the picture after SECONDS,
# a second picture after pressing KEY in the window when one is given.
shoot() {
    local seconds=$1 first=$2 key=$3 second=$4
    shift 4
    printf '[Control]\nVisible4=1\nChannel=3\n' >"$work/config/Vxxx Control Panel.ini"
    xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
        set -euo pipefail
        cd "$1"
        shift
        seconds=$1 first=$2 key=$3 second=$4
        shift 4
        XDG_CONFIG_HOME="$PWD/config" "$@" &
        panel=$!
        sleep "$seconds"
        window=$(xdotool search --name "^Channel configuration$" | head -1)
        xwd -id "$window" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$first"
        if [ -n "$key" ]; then
            xdotool windowfocus --sync "$window" key "$key"
            sleep 1
            xwd -id "$window" -silent | xwdtopnm 2>/dev/null | pnmtopng >"$second"
        fi
        kill -TERM "$panel"
        wait "$panel" || true
    ' shoot "$work" "$seconds" "$first" "$key" "$second" "$@"
}

shoot 6 "$out/green.png" Down "$out/sky-blue.png" "$program" --simulate V630
shoot 4 "$out/red.png" "" "" "$program" --port "$work/no-instrument"
ls -l "$out"
