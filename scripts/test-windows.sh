#!/usr/bin/env bash
# test-windows.sh WINDOWS_BUILD LINUX_BUILD
# The Windows build's tests under Wine, in a Wine prefix of the build folder's own: every test
# program whose code is portable (through CTest), then the serial port on COM5, which is the
# Linux simulator's pseudo-terminal linked into the prefix: first the port's own test across
# a hang-up, then vxxx.exe end to end (status, read, a download of 50 records whose file must
# be the very bytes the Linux vxxx writes from the same instrument, and the port the panel
# stored in the registry), and its built-in simulator.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 WINDOWS_BUILD LINUX_BUILD" >&2
    exit 2
fi
build=$(realpath "$1")
linux_sim=$(realpath "$2")/src/sim/vxxx-sim
linux_vxxx=$(realpath "$2")/src/cli/vxxx
export WINEPREFIX=$build/wine WINEDEBUG=-all
com5=$WINEPREFIX/dosdevices/com5
work=$build/test-windows
rm -rf "$work"
mkdir -p "$work"

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "Making the Wine prefix $WINEPREFIX"
    wineboot -i >"$work/wineboot.log" 2>&1
fi
# One Wine server for the whole run. It takes a terminal it opens as its own and reports each
# hang-up of it with a dump of its objects: that goes to its log, not into the tests' output.
wineserver -k 2>/dev/null || true
wineserver -p 30 2>"$work/wineserver.log"
# Wine's own services start with the first program and stay: not with a test's output, for
# CTest would wait for them to close it.
wineboot >"$work/wineboot.log" 2>&1

simulator=
stop_simulator() {
    if [ -n "$simulator" ]; then
        kill "$simulator" 2>/dev/null || true
        wait "$simulator" 2>/dev/null || true
        simulator=
    fi
}
finish() {
    stop_simulator
    wineserver -k 2>/dev/null || true
}
trap finish EXIT

# The simulator on a new pseudo-terminal, which Wine then knows as COM5.
start_simulator() {
    rm -f "$com5"
    "$linux_sim" --link "$com5" "$@" >"$work/vxxx-sim.log" 2>&1 &
    simulator=$!
    for _ in $(seq 50); do
        [ -L "$com5" ] && return 0
        sleep 0.1
    done
    echo "vxxx-sim did not come up:" >&2
    cat "$work/vxxx-sim.log" >&2
    exit 1
}

failed() {
    echo "FAILED: $*" >&2
    exit 1
}

echo "== The portable tests under Wine"
ctest --test-dir "$build" --output-on-failure

echo "== The serial port on COM5 across a hang-up of the line"
start_simulator --hangup-after 8 --return-after 1
VXXX_TEST_SIMULATOR_PORT=COM5 wine "$build/tests/serial/test_serial_port_on_simulator.exe" \
    --gtest_brief=1
stop_simulator

vxxx=$build/src/cli/vxxx.exe
if [ ! -f "$vxxx" ]; then
    echo "== SKIPPED: vxxx.exe is not part of this build (src/CMakeLists.txt), so it is not run"
    exit 0
fi

echo "== vxxx.exe on COM5"
start_simulator --records 50
cd "$work"
vxxx() {
    timeout 120 wine "$vxxx" "$@" --port COM5 2>>"$work/vxxx.err" | tr -d '\r'
}

status=$(vxxx status)
echo "$status"
grep -qx 'model: V630' <<<"$status" || failed "status: no model line"
grep -qx 'records: 50' <<<"$status" || failed "status: not the 50 records"

readings=$(vxxx read --count 3 --interval 0.5)
echo "$readings"
[ "$(wc -l <<<"$readings")" -eq 3 ] || failed "read --count 3: not three lines"
grep -vqE '^[0-9]{2}\.[0-9]{2}\.[0-9]{2} [0-9:]{8}(;-?[0-9]+\.[0-9]{4}){9}$' <<<"$readings" &&
    failed "read: a line that is not the PC log's"

[ "$(vxxx log download -o windows.csv)" = windows.csv ] || failed "log download: no file named"
"$linux_vxxx" log download --port "$com5" -o linux.csv >/dev/null 2>>"$work/vxxx.err" ||
    failed "the Linux vxxx could not download"
[ "$(grep -c $'\r$' windows.csv)" -eq 50 ] || failed "log download: not 50 lines ending CR LF"
cmp windows.csv linux.csv || failed "log download: the file differs from the Linux vxxx's"
head -n 2 windows.csv

# Without --port, the port the panel stored in its registry key.
wine reg add 'HKCU\Software\Vxxx Control Panel\Comms' /v CommPort /d COM5 /f >/dev/null
timeout 120 wine "$vxxx" status 2>>"$work/vxxx.err" | tr -d '\r' | grep -qx 'records: 50' ||
    failed "status: not the port stored in the panel's registry key"
stop_simulator
echo "== vxxx.exe: status, read and a download of 50 records on COM5 passed; the panel's port read from the registry"

echo "== vxxx.exe --simulate: the simulated instrument inside the program"
timeout 120 wine "$vxxx" --simulate V420 status 2>>"$work/vxxx.err" | tr -d '\r' |
    grep -qx 'model: V420' || failed "--simulate V420 status: no model line"
echo "== vxxx.exe --simulate status passed"
