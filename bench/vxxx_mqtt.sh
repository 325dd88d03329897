#!/usr/bin/env bash
# vxxx read --mqtt on the built-in simulator against Debian's mosquitto on a loopback port: the
# tool's resident memory while the broker is away and its queue is full, then the readings per
# second it publishes once the broker is back and the queue drains, and when it keeps up.
#
#   bench/vxxx_mqtt.sh [VXXX] [QUEUE]   (default build/release/src/cli/vxxx, 1000 readings)
#
# The queue fills as fast as the tool reads the simulator at --interval 0.1 (about three readings
# a second): 1000 readings take five minutes, the default 10000 an hour.
set -euo pipefail
vxxx=${1:-build/release/src/cli/vxxx}
queue=${2:-1000}
folder=$(mktemp -d /tmp/vxxx-mqtt-bench-XXXXXX)
pids=()
trap 'kill "${pids[@]}" 2>/dev/null; wait 2>/dev/null; rm -rf "$folder"' EXIT

for port in $(shuf -i 20000-60000 -n 50); do
    (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null || break
done
printf 'listener %s 127.0.0.1\nallow_anonymous true\nlog_dest none\nuser %s\n' \
    "$port" "$(id -un)" >"$folder/mosquitto.conf"

resident_kb() { awk '/^VmRSS:/ { print $2 }' "/proc/$1/status"; }
wait_for_line() { # FILE TEXT: until the file holds the text, for up to a reading a second
    for ((tries = 0; tries < (queue + 60) * 10; ++tries)); do
        grep -q "$2" "$1" && return 0
        sleep 0.1
    done
    echo "no \"$2\" in $1" >&2
    exit 1
}

"$vxxx" read --simulate --count 0 --interval 0.1 --mqtt "mqtt://127.0.0.1:$port/bench" \
    --mqtt-queue "$queue" >"$folder/lines" 2>"$folder/messages" &
pids+=($!)
tool=$!
sleep 3
echo "broker away: resident $(resident_kb $tool) kB after 3 s"
wait_for_line "$folder/messages" "dropping the oldest"
full=$(resident_kb $tool)
sleep 10
echo "broker away: resident $full kB with $queue readings queued, $(resident_kb $tool) kB" \
    "10 s later (the oldest dropped)"

mosquitto -c "$folder/mosquitto.conf" 2>/dev/null &
pids+=($!)
sleep 0.5
# The arrival time of each reading's cold junction: the queue, then the readings taken meanwhile.
mosquitto_sub -p "$port" -t 'bench/+/channel/0' -F '%U' -C $((queue + 100)) >"$folder/arrivals" &
sub=$!
pids+=($sub)
wait $sub
awk -v queue="$queue" 'NR == 1 { first = $1 } NR == queue { drained = $1 }
    END { printf "broker back: %d readings drained in %.2f s, %.0f readings/s (%d messages/s)\n",
          queue - 1, drained - first, (queue - 1) / (drained - first),
          9 * (queue - 1) / (drained - first)
          printf "then keeping up: %d readings in %.1f s at --interval 0.1\n",
          NR - queue, $1 - drained }' "$folder/arrivals"
echo "resident $(resident_kb $tool) kB with the queue drained"
kill -TERM $tool
wait $tool || true
