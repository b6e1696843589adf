#!/usr/bin/env bash
# Builds the Debian package from two clones of a commit, in different folders
# and minutes apart, and fails unless both .deb files are the same bytes. Each
# clone is built as `make package` builds it, without the tests and benchmarks.
# With --windows, the same for the Windows zip, against this machine's Qt for
# Windows (scripts/build-qt-windows); with --web, for the web site's zip
# (scripts/build-qt-web).
# Usage: reproducible_test.sh [--windows | --web] [commit]     (HEAD when not given)
set -euo pipefail
source=$(cd "$(dirname "$0")/.." && pwd)
preset=default artifact='package/*.deb'
case "${1:-}" in
    --windows)
        preset=windows artifact='*-windows-x86_64.zip'
        MOXEL_QT_WINDOWS=$("$source/scripts/build-qt-windows")
        export MOXEL_QT_WINDOWS
        shift ;;
    --web)
        preset=web artifact='*-web.zip'
        MOXEL_QT_WEB=$("$source/scripts/build-qt-web")
        export MOXEL_QT_WEB
        shift ;;
esac
commit=$(git -C "$source" rev-parse --verify "${1:-HEAD}^{commit}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# Nothing set by hand: the build finds its own times.
unset SOURCE_DATE_EPOCH

package() {  # <clone folder>: prints the path of the .deb (or the zip) built there
    git clone --quiet --no-local --no-checkout "$source" "$1"
    git -C "$1" checkout --quiet "$commit"
    (
        cd "$1"
        cmake --preset $preset -DMOXEL_BUILD_TESTS=OFF -DMOXEL_BUILD_BENCH=OFF
        cmake --build --preset $preset --parallel "$(nproc)"
        cd build/$preset && if [ $preset = windows ]; then cpack -G ZIP; else cpack; fi
    ) >"$1.log" 2>&1 || { cat "$1.log" >&2; return 1; }
    ls "$1"/build/$preset/$artifact
}

first=$(package "$work/one")
second=$(package "$work/two/a/folder/further/down")
sha256sum "$first" "$second"
if cmp -s "$first" "$second"; then
    echo "reproducible: $(git -C "$source" log -1 --format='%h %s' "$commit")"
    exit 0
fi

echo "the two packages differ"
if [ $preset != default ]; then
    diff <(unzip -lv "$first") <(unzip -lv "$second")
    exit 1
fi
diff <(dpkg-deb -c "$first") <(dpkg-deb -c "$second") || true
dpkg-deb -R "$first" "$work/x1"
dpkg-deb -R "$second" "$work/x2"
diff -rq "$work/x1" "$work/x2" || true
exit 1
