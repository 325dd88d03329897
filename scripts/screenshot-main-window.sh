#!/usr/bin/env bash
# Takes a picture of the main window showing live readings from the built-in simulator, on a
# virtual X display: scripts/screenshot-main-window.sh [OUTPUT.png] [SECONDS]
# The program runs in a scratch folder with scratch settings, so nothing of the user's changes;
# DIAGNOSTIC_LEVEL=30 shows the diagnostic controls too.
set -euo pipefail
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-build/main-window.png}")
seconds=${2:-8}
export ASAN_OPTIONS=detect_leaks=0   # the X libraries keep a few buffers to the end
program=$(realpath "${BUILD_DIR:-build/dev}/src/app/control-panel")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir -p "$(dirname "$output")" "$work/config"
if [ -n "${DIAGNOSTIC_LEVEL:-}" ]; then
    printf '[Control]\nDiagnostic Level=%s\n' "$DIAGNOSTIC_LEVEL" > "$work/config/Vxxx Control Panel.ini"
fi

xvfb-run -a -s "-screen 0 660x240x24" bash -c '
    set -euo pipefail
    cd "$1"
    XDG_CONFIG_HOME="$1/config" "$2" --simulate &
    panel=$!
    sleep "$4"
    xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng > "$3"
    kill -TERM "$panel"
    wait "$panel"
' screenshot "$work" "$program" "$output" "$seconds"
echo "$output"
