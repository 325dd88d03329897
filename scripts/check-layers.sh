#!/usr/bin/env bash
# Checks the include graph that keeps the layers apart: the serial layer, the protocol, the
# instrument rules, the command-line tool, the simulator and the MQTT publisher never include Qt
# or the windows; a window never includes another window's header; only the composition root
# names the window classes; a system's own headers appear only where the platforms differ, so
# the rest builds for Windows too; the front ends define no instrument timing, record bound or
# retry count of their own. Prints every offending line.
set -euo pipefail
cd "$(dirname "$0")/.."

status=0
offend() {
    echo "$1"
    status=1
}

windows=(main chart config channel calibration engineering dialogs)

for layer in base serial protocol instrument cli sim mqtt; do
    while IFS= read -r line; do
        case "$line" in
        src/serial/*PortList.*) ;; # the port list is the one Qt piece of the serial layer
        *) offend "$line" ;;
        esac
    done < <(grep -rnE '#include (<Q|"ui/|"ui_)' src/$layer || true)
done

for window in "${windows[@]}"; do
    for other in "${windows[@]}"; do
        [ "$window" = "$other" ] && continue
        while IFS= read -r line; do offend "$line"; done \
            < <(grep -rnE "#include \"ui/$other/" src/ui/$window || true)
    done
done

while IFS= read -r line; do offend "$line"; done \
    < <(grep -nE '#include "ui/(main|chart|config|channel|calibration|engineering|dialogs)/' \
        src/ui/panel/* src/app/* | grep -vE '^src/app/(ControlPanel\.cpp|main\.cpp):' || true)

# The link's one transaction at a time is the frame layer's own business.
while IFS= read -r line; do offend "$line"; done \
    < <(grep -rnE 'SetCommsBusy|TxBuffer|TransmitFrame' src | grep -v '^src/protocol/' || true)

# POSIX's and Windows' own headers only in the twin files that CMake chooses between
# (Posix<Name>.cpp, Windows<Name>.cpp: the device layer, the local clock, durable files, the
# terminal check, the console's stop signals, the MQTT client's socket and TLS, the port list, the
# ending signals, the disk sync, the metafile's file) and the headers of a posix/ or windows/
# folder that CMake puts on the include path, and the simulator's pseudo-terminal with its server
# and program.
platform_header='#include <(unistd|fcntl|poll|termios|pthread|signal|dirent|pwd|grp|dlfcn|netdb|spawn|pty|io|windows|winsock2|ws2tcpip|sys/[a-z_]+|arpa/[a-z]+|netinet/[a-z_]+|linux/[a-z_]+)\.h>'
platform_files='^src/[a-z/]+/(Posix|Windows)[A-Za-z]+\.cpp:|^src/[a-z/]+/(posix|windows)/[A-Za-z]+\.h:|^src/sim/(PseudoTerminal|InstrumentServer|main)\.cpp:|^src/cli/StopSignal\.cpp:'
while IFS= read -r line; do offend "$line"; done \
    < <(grep -rnE "$platform_header" src | grep -vE "$platform_files" || true)

# The instrument's timings, record bounds and retry counts are the core's (src/instrument,
# src/protocol), defined once for both front ends: under src/ui and src/cli no constant names a
# pause, settling time, wait, attempt, retry or silence, or a record bound, no bounds are made
# of numbers, and nothing sleeps or settles for a number of milliseconds of its own.
timing='constexpr[^=;]*\bk\w*(Pause|Settl|Wait|Attempt|Retr|Silen)\w*\s*(=|\{)'
records='constexpr[^=;]*\bk\w*(LastRecord|Addressable|RecordBound|RecordCount|MaxRecord)\w*\s*(=|\{)'
bounds='\bBounds\b[^;]*\{[^}]*[0-9]\s*\}|(Ask|Jobs)\([^;]*\{[^}]*,\s*[0-9]+\s*\}'
pauses='(Sleep|Settle)\(\s*[0-9]'
while IFS= read -r line; do offend "$line"; done \
    < <(grep -rnE "$timing|$records|$bounds|$pauses" src/ui src/cli || true)

[ $status -eq 0 ] && echo "layers: every include stays within its layer; the timings are the core's"
exit $status
