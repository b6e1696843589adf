#!/usr/bin/env bash
# Builds the Debian package, has lintian check it, unpacks it into a temporary
# root, checks its files, desktop entry, metadata and manual page, and starts
# the installed game on the offscreen platform.
# Usage: package_test.sh <build dir>
set -euo pipefail
build=$(cd "$1" && pwd)
source=$(cd "$(dirname "$0")/.." && pwd)
id=io.github.catch_the_moxel.CatchTheMoxel
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/*.deb)
depends=$(dpkg-deb -f "$deb" Depends)
for package in libqt6widgets6 $(cat "$source/packaging/runtime-depends"); do
    [[ $depends == *"$package"* ]] || { echo "Depends lacks $package"; exit 1; }
done
[ "$(dpkg-deb -f "$deb" Section)" = games ] || { echo "not in section games"; exit 1; }
if ! lintian --fail-on error,warning "$deb" >"$work/lintian" 2>&1; then
    cat "$work/lintian"
    exit 1
fi

root=$work/root
dpkg-deb -x "$deb" "$root"
for file in usr/games/catch-the-moxel usr/share/applications/$id.desktop \
    usr/share/metainfo/$id.metainfo.xml usr/share/man/man6/catch-the-moxel.6.gz \
    usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128}/apps/$id.png \
    usr/share/icons/hicolor/scalable/apps/$id.svg \
    usr/share/doc/catch-the-moxel/{copyright,changelog.gz}; do
    [ -s "$root/$file" ] || { echo "missing $file"; exit 1; }
done
desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null

# The manual page reads without a single warning from groff.
page=$root/usr/share/man/man6/catch-the-moxel.6.gz
LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 "$page" 2>"$work/man" >/dev/null
[ ! -s "$work/man" ] || { cat "$work/man"; exit 1; }
LC_ALL=C.UTF-8 MANWIDTH=80 man -l "$page" | grep -q -- '--precise-timers' || { echo "no options in the manual"; exit 1; }

# The installed game must start and keep running; its pictures are built in.
status=0
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work timeout 2 "$root/usr/games/catch-the-moxel" \
    2>"$work/stderr" || status=$?
if [ "$status" -ne 124 ]; then
    echo "the installed game stopped with status $status"
    cat "$work/stderr"
    exit 1
fi
if grep -iE 'cannot|could not|failed|error' "$work/stderr"; then
    echo "the installed game complained"
    exit 1
fi
echo "package ok: $(basename "$deb")"
