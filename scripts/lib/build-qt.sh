# Builds Qt from Debian's source package of qt6-base for another platform and
# prints its prefix; sourced by scripts/build-qt-windows and scripts/build-qt-web.
# The caller sets:
#   platform      the name in the cache folder and in messages
#   options       configure's options
#   cmake_args    what configure passes on to CMake
#   key_inputs    further text the cache key depends on (a toolchain file, ...)
# and may set:
#   patches       our changes to Qt's source, applied after Debian's; each
#                 goes with Qt's licence texts, as the source of what we changed
# and may define prepare_prefix, run in the empty prefix before configure.
# The result is kept outside the clone, keyed by Debian's version of Qt and
# the inputs, so only a machine's first build pays. Debian's own Qt of the same
# version supplies the host tools (moc, rcc, uic).
set -euo pipefail

qt_version=6.4.2
die() { echo "build-qt-$platform: $*" >&2; exit 1; }
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev-tools 2>/dev/null) ||
    die "Debian's qt6-base-dev-tools is missing: run scripts/install-deps $platform"
[[ $host_version == "$qt_version"+* ]] ||
    die "the host tools are Qt $host_version, not $qt_version"

# Debian's revision is in the key: a security update of qt6-base builds anew.
patches=(${patches[@]+"${patches[@]}"})
key=$( (printf '%s\n' "$host_version" "${options[@]}" "${cmake_args[@]}"; printf '%s' "$key_inputs"
        [ ${#patches[@]} -eq 0 ] || cat "${patches[@]}") |
    sha256sum | cut -c1-12)
cache=${XDG_CACHE_HOME:-$HOME/.cache}/catch-the-moxel
prefix=$cache/qt-$qt_version-$platform-$key
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

# The same source as the host tools were built from.
source_version=$host_version
apt-cache showsrc qt6-base 2>/dev/null | grep -qx "Version: $source_version" ||
    die "apt offers no source package of qt6-base $source_version: run scripts/install-deps $platform"

mkdir -p "$cache"
# One build per key at a time; a second caller waits and then reuses it.
exec 9>"$cache/qt-$key.lock"
flock 9
if [ -f "$prefix/.complete" ]; then
    echo "$prefix"
    exit 0
fi

work=$cache/qt-$qt_version-work-$key
rm -rf "$work" "$prefix"
mkdir -p "$work" "$prefix"
if declare -F prepare_prefix >/dev/null; then
    prepare_prefix "$prefix"
fi
start=$SECONDS
echo "Building Qt $qt_version for $platform in $work (once per machine)" >&2
(
    cd "$work"
    # Debian's patches (security fixes among them) are applied on unpacking.
    apt-get -qq source "qt6-base=$source_version" >source.log 2>&1 ||
        { cat source.log >&2; exit 1; }
    for change in ${patches[@]+"${patches[@]}"}; do
        patch -d qt6-base-*/ -p1 --quiet <"$change"
    done
    mkdir build
    cd build
    # The build folder is mapped out of Qt's code, so it is the same from any cache.
    cmake_args=("${cmake_args[@]//@WORK@/$work}")
    cmake_args=("${cmake_args[@]//@PREFIX@/$prefix}")
    ../qt6-base-*/configure -prefix "$prefix" -qt-host-path /usr "${options[@]}" -- -G Ninja \
        -DQT_HOST_PATH_CMAKE_DIR=/usr/lib/x86_64-linux-gnu/cmake "${cmake_args[@]}" \
        >configure.log 2>&1 || { tail -n 30 configure.log >&2; exit 1; }
    nice -n 19 cmake --build . --parallel "$(nproc)" >build.log 2>&1 ||
        { grep -m 20 -B2 -A8 'FAILED\|error:' build.log >&2; exit 1; }
    cmake --install . >install.log 2>&1 || { tail -n 30 install.log >&2; exit 1; }
    # Qt's licence texts go with every copy of the game: Qt's own, and those
    # of the code it bundles, each beside the attribution that names it.
    cd ../qt6-base-*/
    mkdir -p "$prefix/licenses"
    cp LICENSES/*.txt "$prefix/licenses/"
    if [ ${#patches[@]} -gt 0 ]; then
        mkdir -p "$prefix/licenses/changes"
        cp "${patches[@]}" "$prefix/licenses/changes/"
    fi
    find src -name qt_attribution.json | sort | while read -r attribution; do
        dir=$(dirname "$attribution")
        sed -n 's/.*"LicenseFile": *"\([^"]*\)".*/\1/p' "$attribution" | while read -r file; do
            mkdir -p "$prefix/licenses/$dir"
            cp "$attribution" "$dir/$file" "$prefix/licenses/$dir/"
        done
    done
) || die "building Qt failed; its logs are in $work"
touch "$prefix/.complete"
rm -rf "$work"
echo "Qt $qt_version for $platform built in $((SECONDS - start)) s: $prefix" >&2
echo "$prefix"
