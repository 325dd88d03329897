#!/usr/bin/env bash
# test-windows-panel.sh PANEL_BUILD LINUX_BUILD
# The panel's Windows build under Wine, in a Wine prefix of the build folder's own: the window
# tests that are portable (through CTest, offscreen), then control-panel.exe on Xvfb against the
# Linux simulator's pseudo-terminal linked into the prefix as COM5: it polls the status and the
# readings, its caption names the model, and its settings land in the registry when it closes.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 PANEL_BUILD LINUX_BUILD" >&2
    exit 2
fi
build=$(realpath "$1")
linux_sim=$(realpath "$2")/src/sim/vxxx-sim
export WINEPREFIX=$build/wine WINEDEBUG=-all
com5=$WINEPREFIX/dosdevices/com5
work=$build/test-windows-panel
rm -rf "$work"
mkdir -p "$work"

failed() {
    echo "FAILED: $*" >&2
    exit 1
}

# wait_for SECONDS COMMAND...: true once the command is, false when the time is up.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        [ $SECONDS -lt $deadline ] || return 1
        sleep 0.5
    done
}

[ -f "$WINEPREFIX/system.reg" ] || wineboot -i >"$work/wineboot.log" 2>&1
wineserver -k 2>/dev/null || true
wineserver -p 30 2>"$work/wineserver.log"
wineboot >>"$work/wineboot.log" 2>&1

children=()
finish() {
    for child in "${children[@]}"; do
        kill "$child" 2>/dev/null || true
        wait "$child" 2>/dev/null || true
    done
    wineserver -k 2>/dev/null || true
}
trap finish EXIT

# The test programs load Qt's and the compiler's libraries from where the build found them.
cache_value() {
    sed -n "s/^$1:[A-Z]*=//p" "$build/CMakeCache.txt"
}
compiler=$(cache_value CMAKE_CXX_COMPILER)
WINEPATH=
for folder in $(tr ';' ' ' <<<"$(cache_value CMAKE_PREFIX_PATH)"); do
    WINEPATH+="Z:$folder/bin;"
done
for dll in libstdc++-6.dll libwinpthread-1.dll; do
    WINEPATH+="Z:$(dirname "$("$compiler" -print-file-name=$dll)");"
done
export WINEPATH

echo "== The portable window tests under Wine"
ctest --test-dir "$build" --output-on-failure

echo "== control-panel.exe on COM5, on Xvfb"
# The Qt libraries and plugins lie beside the program in the folder a user gets.
folder=$(find "$build" -maxdepth 1 -type d -name 'control-panel-*-windows-x64' | head -n 1)
[ -n "$folder" ] || failed "the panel's folder is not in $build (make windows)"
panel=$folder/control-panel.exe

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
children+=($!)
export DISPLAY=$display
wait_for 10 xdpyinfo >/dev/null 2>&1 || failed "Xvfb did not start"

rm -f "$com5"
"$linux_sim" --model V630 --trace --link "$com5" >"$work/vxxx-sim.log" 2>"$work/trace.log" &
children+=($!)
wait_for 10 test -L "$com5" || failed "vxxx-sim did not come up: $(cat "$work/vxxx-sim.log")"

# The registry key of the settings, as Wine writes it into the user's hive.
user_reg=$WINEPREFIX/user.reg
comms_key='[Software\\Vxxx Control Panel\\Comms]'
wine reg delete 'HKCU\Software\Vxxx Control Panel' /f >/dev/null 2>&1 || true

(cd "$work" && WINEPATH= exec wine "$panel" --port COM5 >"$work/panel.log" 2>&1) &
panel_process=$!
children+=($panel_process)

polled() {
    grep -q '<- 04 53 05' "$work/trace.log" && grep -q '<- 04 54 05' "$work/trace.log"
}
wait_for 60 polled || failed "no status and reading polls from the panel: $(tail -n 5 "$work/trace.log")"
echo "polls: status and readings seen on COM5"

captioned() {
    window=$(xdotool search --name '^V630 Control Panel$' 2>/dev/null | head -n 1)
    [ -n "$window" ]
}
wait_for 30 captioned || failed "no window captioned \"V630 Control Panel\": $(xdotool search --name . getwindowname %@ 2>/dev/null | sort -u | tr '\n' ';')"
echo "caption: $(xdotool getwindowname "$window")"

# A close as the operator's (taskkill without /f asks the windows to close): the settings are
# written on the way out.
wine taskkill /im control-panel.exe >>"$work/panel.log" 2>&1
wait_for 30 bash -c "! kill -0 $panel_process 2>/dev/null" || failed "the panel did not end"
wineserver -w
grep -qF "$comms_key" "$user_reg" || failed "no $comms_key in $user_reg"
grep -A6 -F "$comms_key" "$user_reg" | grep -q '"CommPort"="COM5"' ||
    failed "CommPort is not COM5 in $user_reg"
echo "== control-panel.exe: polls on COM5, its caption and its settings in the registry passed"
