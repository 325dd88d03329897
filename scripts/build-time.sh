#!/usr/bin/env bash
# How long a new developer waits for the panel: clones the repository into a temporary folder and
# prints the seconds from `cmake --preset release` to a linked control-panel, with a compiler
# cache of its own that starts empty. With a commit (e.g. the one before a build change), that
# commit is measured first and the current one after it, in the same run, so that both figures
# meet the same machine; the load average beside each figure tells how busy the machine was.
#
#   scripts/build-time.sh            # the current commit
#   scripts/build-time.sh bdbfb32    # bdbfb32, then the current commit
set -euo pipefail
repository=$(git -C "$(dirname "$0")/.." rev-parse --show-toplevel)

commits=()
[ $# -eq 0 ] || commits+=("$(git -C "$repository" rev-parse --verify "$1^{commit}")")
commits+=("$(git -C "$repository" rev-parse --verify HEAD)")

work=$(mktemp -d "${TMPDIR:-/tmp}/build-time.XXXXXX")
trap 'rm -rf "$work"' EXIT

load_average() { cut -d' ' -f1-3 /proc/loadavg; }

# Prints the seconds one commit takes from a fresh clone, the processor seconds of the build (less
# sensitive to the machine's other work), and the load average before and after.
measure() {
    local commit=$1 clone="$work/${1:0:12}"
    git clone --quiet --shared --no-checkout "$repository" "$clone"
    git -C "$clone" checkout --quiet --detach "$commit"
    mkdir "$clone-ccache"
    local load_before timing elapsed user system
    load_before=$(load_average)
    TIMEFORMAT='%R %U %S'
    if ! timing=$({ time { (cd "$clone" && export CCACHE_DIR="$clone-ccache" &&
        cmake --preset release && cmake --build --preset release --target control-panel) \
        >"$clone.log" 2>&1; }; } 2>&1); then
        tail -n 40 "$clone.log" >&2
        echo "build-time: the build of $commit failed" >&2
        return 1
    fi
    read -r elapsed user system <<<"$timing"
    [ -x "$clone/build/release/src/app/control-panel" ]
    awk -v commit="${commit:0:7}" -v elapsed="$elapsed" -v user="$user" -v kernel="$system" \
        -v before="$load_before" -v after="$(load_average)" 'BEGIN {
            printf "%s  %4.0f s  (processor %.0f s; load average before %s, after %s)\n",
                commit, elapsed, user + kernel, before, after
        }'
}

for commit in "${commits[@]}"; do
    measure "$commit"
done
