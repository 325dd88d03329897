#!/usr/bin/env bash
# Takes a picture of the system configuration window beside the main window, both live on the
# built-in simulator, on a virtual X display:
#   scripts/screenshot-config-window.sh [V420|V630] [OUTPUT.png] [SECONDS]
# The program runs in a scratch folder with scratch settings; DIAGNOSTIC_LEVEL=384 shows the
# system flag field and the log memory test button too; PORT=/dev/ttyUSB0 opens that port
# instead of the simulator (a port that does not open shows why beside the port choice).
set -euo pipefail
cd "$(dirname "$0")/.."
model=${1:-V630}
output=$(realpath -m "${2:-build/config-window-$model.png}")
seconds=${3:-8}
export ASAN_OPTIONS=detect_leaks=0   # the X libraries keep a few buffers to the end
program=$(realpath "${BUILD_DIR:-build/dev}/src/app/control-panel")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$output")" "$work/config"
printf '[Control]\nLeft1=0\nTop1=580\nLeft3=0\nTop3=0\nVisible3=1\nDiagnostic Level=%s\n' \
    "${DIAGNOSTIC_LEVEL:-0}" > "$work/config/Vxxx Control Panel.ini"

if [ -n "${PORT:-}" ]; then target="--port $PORT"; else target="--simulate $model"; fi

xvfb-run -a -s "-screen 0 660x820x24" bash -c '
    set -euo pipefail
    cd "$1"
    XDG_CONFIG_HOME="$1/config" "$2" $5 &
    panel=$!
    sleep "$4"
    xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$3"
    kill -TERM "$panel"
    wait "$panel"
' screenshot "$work" "$program" "$output" "$seconds" "$target"
echo "$output"
