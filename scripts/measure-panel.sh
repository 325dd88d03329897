#!/usr/bin/env bash
# Prints three figures of control-panel against vxxx-sim (separate processes, offscreen):
# the time from the panel's start to the first reading shown (the 2-second start-up wait
# included), the panel's CPU share over SECONDS (default 60) of steady polling, and its CPU
# share over as long with the instrument gone (the simulator ended, its link removed) while
# the panel waits for it to come back.
#   scripts/measure-panel.sh [SECONDS]      uses build/release, building it when missing
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
build=${BUILD_DIR:-build/release}
if [ ! -x "$build/src/app/control-panel" ] || [ ! -x "$build/src/sim/vxxx-sim" ]; then
    cmake --preset release >/dev/null
    cmake --build --preset release --target control-panel vxxx-sim >/dev/null
fi
panel=$(realpath "$build/src/app/control-panel")
simulator=$(realpath "$build/src/sim/vxxx-sim")

work=$(mktemp -d)
sim_pid=""
panel_pid=""
cleanup() {
    [ -n "$panel_pid" ] && kill "$panel_pid" 2>/dev/null || true
    [ -n "$sim_pid" ] && kill "$sim_pid" 2>/dev/null || true
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

"$simulator" --link "$work/instrument" >"$work/sim.out" 2>/dev/null &
sim_pid=$!
for _ in $(seq 50); do [ -e "$work/instrument" ] && break; sleep 0.1; done

# The panel notes its first reading in its log category; the pattern stamps each note with
# the seconds since the process started.
(cd "$work" && exec env QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" \
    QT_LOGGING_RULES="vxxx.panel.info=true" QT_MESSAGE_PATTERN="%{time process} %{message}" \
    ASAN_OPTIONS=detect_leaks=0 "$panel" --port "$work/instrument" 2>"$work/panel.err") &
panel_pid=$!
for _ in $(seq 300); do grep -q "first reading shown" "$work/panel.err" && break; sleep 0.1; done
first=$(awk '/first reading shown/ { print $1; exit }' "$work/panel.err")
if [ -z "$first" ]; then
    echo "no reading was shown within 30 s" >&2
    cat "$work/panel.err" >&2
    exit 1
fi
printf 'time from start to the first reading shown: %.3f s\n' "$first"

ticks() { awk '{ print $14 + $15 }' "/proc/$panel_pid/stat"; }
share() {
    local before after
    sleep 2
    before=$(ticks)
    sleep "$seconds"
    after=$(ticks)
    awk -v used="$((after - before))" -v hz="$(getconf CLK_TCK)" -v s="$seconds" -v what="$1" \
        'BEGIN { printf "panel CPU share over %d s %s: %.2f %% of one core (%.2f s of CPU)\n", s, what, 100 * used / hz / s, used / hz }'
}
share "of steady polling"
kill "$sim_pid"
wait "$sim_pid" 2>/dev/null || true
sim_pid=""
share "with the instrument gone"
