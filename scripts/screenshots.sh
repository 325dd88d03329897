#!/usr/bin/env bash
# Takes the pictures of the panel's windows that we look at, each on a virtual X display, in a
# scratch folder with scratch settings, so nothing of the user's changes:
#
#   scripts/screenshots.sh [OUTPUT-FOLDER] [PICTURE ...]      (default build/screenshots, all)
#
#   main           main-window.png: live readings from the built-in simulator
#   config         config-V420.png, config-V630.png: the configuration window beside the main one
#   dialogs        dialogs.png: About, enter-a-value and pick-one-item at once
#   channel        channel-{green,sky-blue,red}.png: the channel window in its three colours
#   calibration    calibration-{zero,sampling,ready}.png: a calibration on the simulator
#   engineering    engineering-window.png: after a register read
#   alarm-outputs  alarm-outputs.png: the table in its three sync colours
#   log-download   download-{running,done}.png: a download that loses three replies
#
# BUILD_DIR selects the build (default build/dev); DIAGNOSTIC_LEVEL applies to main and config
# (30 shows the diagnostic controls, 384 the system flag and the log memory test).
set -euo pipefail
cd "$(dirname "$0")/.."
output=$(realpath -m "${1:-build/screenshots}")
shift $(($# > 0 ? 1 : 0))
export BUILD PANEL OUT=$output WORK
BUILD=$(realpath "${BUILD_DIR:-build/dev}")
PANEL=$BUILD/src/app/control-panel
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
export ASAN_OPTIONS=detect_leaks=0 # the X libraries keep a few buffers to the end
mkdir -p "$OUT"

# A fresh settings file holding these [Control] lines.
settings() {
    rm -rf "$WORK/config"
    mkdir -p "$WORK/config"
    printf '[Control]\n' >"$WORK/config/Vxxx Control Panel.ini"
    printf '%s\n' "$@" >>"$WORK/config/Vxxx Control Panel.ini"
}

# Runs a script on a screen of SIZE (WxH) with the scratch folder and settings; the script
# gets grab FILE (the whole screen) and grab_window TITLE FILE.
on_screen() {
    local size=$1 script=$2
    shift 2
    xvfb-run -a -s "-screen 0 ${size}x24" bash -c '
        set -euo pipefail
        cd "$WORK"
        export XDG_CONFIG_HOME="$WORK/config"
        grab() { xwd -root -silent | xwdtopnm 2>/dev/null | pnmtopng >"$1"; }
        grab_window() {
            xwd -id "$(xdotool search --name "$1" | head -1)" -silent | xwdtopnm 2>/dev/null |
                pnmtopng >"$2"
        }
        '"$script" screenshot "$@"
}

# PROGRAM with its ARGUMENTS on a screen of SIZE; the whole screen after SECONDS into FILE.
program_shot() {
    local size=$1
    shift
    on_screen "$size" '
        seconds=$1 file=$2
        shift 2
        "$@" &
        program=$!
        sleep "$seconds"
        grab "$file"
        kill -TERM "$program"
        wait "$program" || true' "$@"
}

# A picture-taking program built with the tests: TARGET and its arguments.
tool_shot() {
    local target=$1
    shift
    cmake --build "$BUILD" --target "$target" >/dev/null
    on_screen 1280x1024 '"$@"' "$(find "$BUILD/tests" -type f -name "$target" | head -1)" "$@"
}

shoot_main() {
    settings "Diagnostic Level=${DIAGNOSTIC_LEVEL:-0}"
    program_shot 660x240 8 "$OUT/main-window.png" "$PANEL" --simulate
}

shoot_config() {
    for model in V420 V630; do
        settings Left1=0 Top1=580 Left3=0 Top3=0 Visible3=1 "Diagnostic Level=${DIAGNOSTIC_LEVEL:-0}"
        program_shot 660x820 8 "$OUT/config-$model.png" "$PANEL" --simulate "$model"
    done
}

shoot_dialogs() {
    cmake --build "$BUILD" --target dialogs-demo >/dev/null
    program_shot 640x440 3 "$OUT/dialogs.png" "$BUILD/tests/ui/dialogs/dialogs-demo"
}

shoot_channel() {
    # Green and, after a key in the type list, sky blue on the simulator; red on a silent port.
    settings Visible4=1 Channel=3
    on_screen 1280x1024 '
        title="^Channel configuration$"
        "$PANEL" --simulate V630 &
        program=$!
        sleep 6
        grab_window "$title" "$OUT/channel-green.png"
        xdotool windowfocus --sync "$(xdotool search --name "$title" | head -1)" key Down
        sleep 1
        grab_window "$title" "$OUT/channel-sky-blue.png"
        kill -TERM "$program"
        wait "$program" || true
        "$PANEL" --port "$WORK/no-instrument" &
        program=$!
        sleep 4
        grab_window "$title" "$OUT/channel-red.png"
        kill -TERM "$program"
        wait "$program" || true'
}

shoot_calibration() {
    settings
    tool_shot calibration-shots "$OUT"
}

shoot_engineering() {
    settings
    tool_shot engineering-screenshot "$OUT/engineering-window.png"
}

shoot_alarm-outputs() {
    settings
    tool_shot alarm-outputs-screenshot "$OUT/alarm-outputs.png"
}

shoot_log-download() {
    # Sixty records of which the 40th to 42nd get no reply.
    settings Left1=0 Top1=580 Left3=0 Top3=0 Visible3=1
    on_screen 660x820 '
        "$BUILD/src/sim/vxxx-sim" --records 60 --drop 3@40 --link "$WORK/vxxx" >/dev/null &
        simulator=$!
        sleep 1
        "$PANEL" --port "$WORK/vxxx" &
        program=$!
        sleep 5
        xdotool mousemove 40 476 click 1 # Download, in the logging group
        sleep 1
        xdotool key y # "Download all logged data?"
        sleep 6
        grab "$OUT/download-running.png"
        sleep 26
        grab "$OUT/download-done.png"
        kill -TERM "$program" "$simulator"
        wait "$program" || true'
}

pictures=("$@")
[ ${#pictures[@]} -eq 0 ] &&
    pictures=(main config dialogs channel calibration engineering alarm-outputs log-download)
for picture in "${pictures[@]}"; do
    "shoot_$picture"
done
ls -1 "$OUT"
