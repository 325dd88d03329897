#!/usr/bin/env bash
# debian-source.sh PACKAGE[=VERSION] FOLDER
# Fetches Debian's source package with `apt-get source` and unpacks it (with Debian's patches)
# as FOLDER. The source entries are derived from this machine's own apt sources (each `deb`
# becomes `deb-src`), so no archive is named here, and apt's state of the machine is left
# alone: the index and the download live beside FOLDER.
set -euo pipefail

if [ $# -ne 2 ]; then
    echo "usage: $0 PACKAGE[=VERSION] FOLDER" >&2
    exit 2
fi
package=$1
folder=$(realpath -m "$2")
work="$folder.apt"
rm -rf "$work" "$folder"
mkdir -p "$work/sources" "$work/lists/partial" "$work/cache/archives/partial" "$work/unpack"

shopt -s nullglob
for file in /etc/apt/sources.list.d/*.sources; do
    sed -E 's/^Types:.*/Types: deb-src/' "$file" >"$work/sources/$(basename "$file")"
done
for file in /etc/apt/sources.list /etc/apt/sources.list.d/*.list; do
    [ -f "$file" ] || continue
    sed -nE 's/^[[:space:]]*deb[[:space:]]/deb-src /p' "$file" >"$work/sources/$(basename "$file" .list).list"
done

apt_options=(
    -o Dir::Etc::SourceList=/dev/null
    -o "Dir::Etc::SourceParts=$work/sources"
    -o "Dir::State::Lists=$work/lists"
    -o "Dir::Cache=$work/cache"
    -o Debug::NoLocking=1
    -o "APT::Sandbox::User=$(id -un)"
)
apt-get -q "${apt_options[@]}" update >"$work/update.log" 2>&1 || {
    cat "$work/update.log" >&2
    exit 1
}
(cd "$work/unpack" && apt-get -q "${apt_options[@]}" source "$package") >"$work/source.log" 2>&1 || {
    cat "$work/source.log" >&2
    exit 1
}
unpacked=("$work"/unpack/*/)
if [ ${#unpacked[@]} -ne 1 ]; then
    echo "$0: apt-get source $package left ${#unpacked[@]} folders" >&2
    exit 1
fi
mv "${unpacked[0]}" "$folder"
rm -rf "$work"
