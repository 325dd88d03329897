#!/usr/bin/env bash
# build-windows-panel.sh: the Windows build with the panel, in build/windows-panel: everything the
# preset "windows" builds, control-panel.exe and its window tests, and the folder and zip a
# Windows user copies. Qt and QCustomPlot for Windows come from the cache that
# scripts/build-qt-windows.sh fills (a long build of its own the first time).
set -euo pipefail
cd "$(dirname "$0")/.."

VXXX_QT_WINDOWS=$(scripts/build-qt-windows.sh)
export VXXX_QT_WINDOWS
cmake --preset windows-panel
cmake --build --preset windows-panel
