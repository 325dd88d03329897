#!/usr/bin/env bash
# Saves the real-time chart's picture and data files (2D and 3D) from the demo program and
# converts each picture to PNG and PDF with LibreOffice Draw, a real reader of enhanced
# metafiles, so the result can be looked at. LibreOffice Draw is installed when missing (as
# root); it is not a build dependency.
#
#   scripts/chart-picture.sh [output directory]     (default build/chart-pictures)
# PRESET selects the build (default release).
set -euo pipefail
cd "$(dirname "$0")/.."
preset=${PRESET:-release}
out=$(realpath -m "${1:-build/chart-pictures}")

if ! command -v soffice >/dev/null; then
    if [ "$(id -u)" -eq 0 ]; then
        DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends libreoffice-draw
    else
        echo "LibreOffice Draw is missing: sudo apt-get install libreoffice-draw" >&2
        exit 1
    fi
fi

cmake --preset "$preset" >/dev/null
cmake --build --preset "$preset" --target chart-demo
demo=$PWD/build/$preset/tests/ui/chart/chart-demo

export QT_QPA_PLATFORM=offscreen ASAN_OPTIONS=detect_leaks=0
for view in 2d 3d; do
    dir=$out/$view
    rm -rf "$dir" && mkdir -p "$dir"
    flags=(--ticks 150 --hide 6 --save)
    [ "$view" = 3d ] && flags+=(--3d)
    (cd "$dir" && "$demo" "${flags[@]}")
    picture=$(ls "$dir"/Chart\ *.wmf)
    # Plain names for the converter's output; the content decides how it is read.
    cp "$picture" "$dir/chart-$view.wmf"
    for format in png pdf; do
        soffice --headless --convert-to "$format" --outdir "$dir" "$dir/chart-$view.wmf" >/dev/null
    done
    ls -l "$dir"
done
