#!/usr/bin/env bash
# Builds the Debian package, unpacks it into a temporary root, checks its files
# and entry, and starts the installed game on the offscreen platform.
# Usage: package_test.sh <build dir>
set -euo pipefail
build=$(cd "$1" && pwd)
id=io.github.catch_the_moxel.CatchTheMoxel
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

(cd "$work" && cpack --config "$build/CPackConfig.cmake" -B "$work/out" >/dev/null)
deb=$(ls "$work"/out/*.deb)
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || { echo "Depends lacks Qt"; exit 1; }
dpkg-deb -f "$deb" Depends | grep -q 'fonts-comic-neue' || { echo "Depends lacks fonts"; exit 1; }
[ "$(dpkg-deb -f "$deb" Section)" = games ] || { echo "not in section games"; exit 1; }

root=$work/root
dpkg-deb -x "$deb" "$root"
for file in usr/bin/catch-the-moxel usr/share/applications/$id.desktop \
    usr/share/metainfo/$id.metainfo.xml \
    usr/share/icons/hicolor/{16x16,32x32,48x48,64x64,128x128}/apps/$id.png \
    usr/share/icons/hicolor/scalable/apps/$id.svg; do
    [ -s "$root/$file" ] || { echo "missing $file"; exit 1; }
done
desktop-file-validate "$root/usr/share/applications/$id.desktop"
appstreamcli validate --no-net --strict "$root/usr/share/metainfo/$id.metainfo.xml" >/dev/null

# The installed game must start and keep running; its pictures are built in.
status=0
QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$work timeout 2 "$root/usr/bin/catch-the-moxel" \
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
