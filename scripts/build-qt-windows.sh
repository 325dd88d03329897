#!/usr/bin/env bash
# build-qt-windows.sh: Qt (Core, Gui, Widgets, Test) and QCustomPlot for 64-bit Windows, cross-built
# with mingw-w64 from Debian's own source packages, the versions this machine's Linux build uses.
# Each goes into a folder of the cache outside the clone, named by what makes it (the Debian
# version, the flags, the patch, the compiler's version); a folder already there is used as it is.
# Prints the two folders as a CMake prefix path ("QT;QCUSTOMPLOT"); the build's log goes to stderr.
# JOBS (default 2) sets the parallel jobs; the build runs at the lowest priority.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/vxxx
jobs=${JOBS:-2}
triplet=x86_64-w64-mingw32
compiler_version=$($triplet-g++-posix -dumpfullversion)
tablet_patch=$root/scripts/qt-windows/wintab-optional.patch
qcustomplot_project=$root/scripts/qt-windows/qcustomplot

source_version() {
    dpkg-query -W -f='${source:Version}' "$1" 2>/dev/null || {
        echo "$0: $1 is not installed: run scripts/install-deps.sh windows" >&2
        exit 1
    }
}
qt_version=$(source_version qt6-base-dev)
qcustomplot_version=$(source_version libqcustomplot-dev)

# Host tools (moc, rcc, uic) are the build machine's, of the same version.
cross_flags=(
    -G Ninja
    -DCMAKE_BUILD_TYPE=Release
    -DCMAKE_SYSTEM_NAME=Windows
    -DCMAKE_SYSTEM_PROCESSOR=x86_64
    -DCMAKE_C_COMPILER=$triplet-gcc-posix
    -DCMAKE_CXX_COMPILER=$triplet-g++-posix
    -DCMAKE_RC_COMPILER=$triplet-windres
    -DCMAKE_FIND_ROOT_PATH=/usr/$triplet
    -DCMAKE_FIND_ROOT_PATH_MODE_PROGRAM=NEVER
    -DCMAKE_FIND_ROOT_PATH_MODE_LIBRARY=ONLY
    -DCMAKE_FIND_ROOT_PATH_MODE_INCLUDE=ONLY
    -DQT_HOST_PATH=/usr
    -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake
)
# Only what the panel and its window tests use (the system's own font engine, GDI's painting),
# the third-party libraries bundled in the source.
qt_flags=(
    -DBUILD_SHARED_LIBS=ON
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DQT_BUILD_EXAMPLES=OFF
    -DQT_BUILD_TESTS=OFF
    -DFEATURE_sql=OFF
    -DFEATURE_network=OFF
    -DFEATURE_dbus=OFF
    -DFEATURE_opengl=OFF
    -DFEATURE_printsupport=OFF
    -DFEATURE_concurrent=OFF
    -DFEATURE_xml=OFF
    -DFEATURE_vulkan=OFF
    -DFEATURE_zstd=OFF
    -DFEATURE_system_zlib=OFF
    -DFEATURE_system_pcre2=OFF
    -DFEATURE_system_png=OFF
    -DFEATURE_system_jpeg=OFF
    -DFEATURE_system_harfbuzz=OFF
    -DFEATURE_freetype=OFF
    -DFEATURE_direct2d=OFF
)

fingerprint() {
    cat "$@" | sha256sum | cut -c1-10
}
qt_key=$(printf '%s\n' "${cross_flags[@]}" "${qt_flags[@]}" | fingerprint - "$tablet_patch")
qt_prefix=$cache/qt-windows-$qt_version-gcc$compiler_version-$qt_key
qcustomplot_key=$(printf '%s\n' "${cross_flags[@]}" "$qt_prefix" |
    fingerprint - $(find "$qcustomplot_project" -type f | sort))
qcustomplot_prefix=$cache/qcustomplot-windows-$qcustomplot_version-gcc$compiler_version-$qcustomplot_key

# A package's folder appears only once it is whole.
fetch() {
    echo "== $1: fetching Debian's source package $2" >&2
    "$root/scripts/debian-source.sh" "$2" "$3" >&2
}
install_whole() {
    rm -rf "$2"
    mv "$1" "$2"
}

build_qt() {
    local work=$qt_prefix.work
    rm -rf "$work"
    mkdir -p "$work"
    fetch Qt "qt6-base=$qt_version" "$work/source"
    patch -d "$work/source" -p1 <"$tablet_patch" >&2
    echo "== Qt: configuring" >&2
    cmake -S "$work/source" -B "$work/build" "${cross_flags[@]}" "${qt_flags[@]}" \
        -DCMAKE_INSTALL_PREFIX="$qt_prefix" >&2
    echo "== Qt: building with $jobs jobs" >&2
    nice -n 19 cmake --build "$work/build" --parallel "$jobs" >&2
    # Installed into the work folder first, then moved whole: the prefix is baked into the
    # installed CMake files relative to them, so moving is safe.
    DESTDIR=$work/install cmake --install "$work/build" >&2
    install_whole "$work/install$qt_prefix" "$qt_prefix"
    rm -rf "$work"
}

build_qcustomplot() {
    local work=$qcustomplot_prefix.work
    rm -rf "$work"
    mkdir -p "$work"
    fetch QCustomPlot "qcustomplot=$qcustomplot_version" "$work/source"
    echo "== QCustomPlot: configuring and building" >&2
    cmake -S "$qcustomplot_project" -B "$work/build" "${cross_flags[@]}" \
        -DCMAKE_PREFIX_PATH="$qt_prefix" -DQCUSTOMPLOT_SOURCE="$work/source" \
        -DCMAKE_INSTALL_PREFIX="$qcustomplot_prefix" >&2
    nice -n 19 cmake --build "$work/build" --parallel "$jobs" >&2
    DESTDIR=$work/install cmake --install "$work/build" >&2
    install_whole "$work/install$qcustomplot_prefix" "$qcustomplot_prefix"
    rm -rf "$work"
}

[ -d "$qt_prefix" ] || build_qt
[ -d "$qcustomplot_prefix" ] || build_qcustomplot
echo "$qt_prefix;$qcustomplot_prefix"
