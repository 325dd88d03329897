#!/usr/bin/env bash
# The logging service's sandbox as systemd rates it (an exposure of at most 1.5), and the
# broker's password only as a credential: service_unit_is_sandboxed.sh SERVICE-FOLDER
set -uo pipefail
command -v systemd-analyze >/dev/null || exit 77
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
cp "$1/vxxx-read@.service" "$scratch/vxxx-read@test.service"
rating=$(systemd-analyze security --offline=yes --threshold=15 "$scratch"/*.service 2>&1) ||
    { grep -E '✗|Overall' <<<"$rating"; exit 1; }
grep -q '^LoadCredential=mqtt-password:' "$1/vxxx-read@.service" &&
    grep -q '^UnsetEnvironment=VXXX_MQTT_PASSWORD' "$1/vxxx-read@.service" &&
    grep -qE '^RestartPreventExitStatus=.* 5' "$1/vxxx-read@.service" &&
    ! grep -q 'VXXX_MQTT_PASSWORD=' "$1/example.conf" ||
    { echo "the broker's password is not only a credential"; exit 1; }
