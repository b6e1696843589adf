#!/usr/bin/env bash
# The command line is read before any display is needed: --help, --help-all and
# --version answer and exit 0 with no display at all; a mistake names itself,
# shows the usage and fails without opening a window; with no display named, or
# one Qt cannot start, the game says so in one line. Qt's own options pass to
# Qt, as in any Qt program.
# Usage: command_line_test.sh <game binary> <version>
set -uo pipefail
game=$1 version=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d)
pids=()
cleanup() {
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
export XDG_RUNTIME_DIR=$work
headless=(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
run() {  # run ARGS...: sets status, out, err
    out=$("${headless[@]}" "$game" "$@" 2>"$work/errors")
    status=$?
    err=$(cat "$work/errors")
}

run --help
[ "$status" -eq 0 ] || fail "--help exited $status: $err"
grep -q -- '--precise-timers' <<<"$out" || fail "--help does not offer --precise-timers"
grep -q -- '--help-all' <<<"$out" || fail "--help does not offer --help-all"
grep -q '^Usage: catch-the-moxel' <<<"$out" || fail "--help shows no usage: $out"

run --help-all
[ "$status" -eq 0 ] || fail "--help-all exited $status: $err"
for option in --precise-timers --platform --style --reverse --qwindowtitle --display; do
    grep -q -- "$option\b" <<<"$out" || fail "--help-all does not list $option"
done

for version_option in --version -v; do
    run "$version_option"
    [ "$status" -eq 0 ] || fail "$version_option exited $status: $err"
    [ "$out" = "catch-the-moxel $version" ] || fail "$version_option printed '$out'"
done

# Mistakes: each is named whole, with the usage, and nothing reaches Qt.
mistakes=(
    "--no-such-option|'no-such-option'"
    "stray-argument|'stray-argument'"
    "-platfrom offscreen|'platfrom'"
    "--precise-timers -platform|'-platform'"
    "-reverse=yes|'-reverse'"
    "-platform=offscreen|-platform offscreen"
)
for row in "${mistakes[@]}"; do
    arguments=${row%%|*} named=${row#*|}
    # shellcheck disable=SC2086 # the row's arguments are words
    run --precise-timers $arguments
    [ "$status" -eq 2 ] || fail "'$arguments' exited $status, not 2"
    grep -qF -- "$named" <<<"$err" || fail "the error for '$arguments' does not name $named: $err"
    grep -q '^Usage:' <<<"$err" || fail "the error for '$arguments' shows no usage"
    grep -qiE 'qt\.qpa|xcb|could not connect' <<<"$err" && fail "'$arguments' reached the window system: $err"
done

# No display and no platform named: one line that says so, exit 1, no abort.
run --precise-timers
[ "$status" -eq 1 ] || fail "with no display the game exited $status, not 1: $err"
[ "$(wc -l <<<"$err")" -eq 1 ] || fail "with no display the game said more than one line: $err"
for word in DISPLAY WAYLAND_DISPLAY -platform; do
    grep -q -- "$word" <<<"$err" || fail "the no-display message does not name $word: $err"
done

# A platform Qt cannot start: one line that names what failed, exit 1, no abort.
# WAYLAND_DISPLAY alone names a display, so Qt tries the Wayland plugin.
unused=99
while [ -e "/tmp/.X11-unix/X$unused" ]; do unused=$((unused + 1)); done
bad_starts=(
    "DISPLAY=:$unused||cannot open the display :$unused"
    "WAYLAND_DISPLAY=wayland-9||platform plugin \"wayland\""
    "|-platform nosuch|platform plugin \"nosuch\""
)
for row in "${bad_starts[@]}"; do
    IFS='|' read -r environment arguments named <<<"$row"
    # shellcheck disable=SC2086 # the row's settings and arguments are words
    "${headless[@]}" $environment "$game" $arguments >/dev/null 2>"$work/errors"
    status=$? err=$(cat "$work/errors")
    [ "$status" -eq 1 ] || fail "'$row' exited $status, not 1: $err"
    [ "$(wc -l <<<"$err")" -eq 1 ] || fail "'$row' said more than one line: $err"
    grep -qF -- "$named" <<<"$err" || fail "'$row' does not name $named: $err"
done

# Qt's options, alone and mixed with ours, with one dash or two: the game
# starts on the platform they name and is still running after 3 s. Options of
# X11 alone do nothing on the offscreen platform, and are no mistake there.
starts=(
    "|-platform offscreen"
    "|--platform offscreen"
    "|-platform offscreen -reverse"
    "|-style fusion -platform offscreen"
    "|-style=fusion --platform offscreen --reverse"
    "|--precise-timers -platform offscreen"
    "|-platform offscreen --precise-timers -qwindowtitle Title -qwindowgeometry 800x600+0+0"
    "|-platform offscreen -qwindowicon none -platformtheme none -platformpluginpath /none"
    "|-platform offscreen -plugin none -session none -widgetcount -stylesheet /dev/null"
    "|-platform offscreen -qmljsdebugger=port:1234 -stylesheet=/dev/null"
    "|-platform offscreen -geometry 800x600+0+0 -title Title -icon none -display :99"
    "|-platform offscreen -name moxel -visual 0x21 -nograb -dograb -sync -ncols 8 -cmap"
    "|-platform offscreen -dialogs=xp -fontengine=freetype"
    "QT_QPA_PLATFORM=offscreen|-reverse --precise-timers"
    "|-platform offscreen -style nosuch"
)
for i in "${!starts[@]}"; do
    environment=${starts[$i]%%|*} arguments=${starts[$i]#*|}
    # shellcheck disable=SC2086 # the row's settings and arguments are words
    "${headless[@]}" $environment "$game" $arguments >/dev/null 2>"$work/start-$i" &
    pids+=($!)
done
sleep 3
for i in "${!starts[@]}"; do
    kill -0 "${pids[$i]}" 2>/dev/null ||
        fail "'${starts[$i]}' did not keep running: $(cat "$work/start-$i")"
done
# Qt's warnings while the platform starts are held, and shown once it is up.
# A busy machine may be slow to get there; poll rather than guess a time.
last=$((${#starts[@]} - 1))
for _ in $(seq 300); do grep -q "override 'nosuch'" "$work/start-$last" && break; sleep 0.1; done
grep -q "override 'nosuch'" "$work/start-$last" || fail "Qt's warning about -style nosuch was lost"

# On X11, the options reach Qt: -display names the server, -qwindowtitle the
# first window's title.
if command -v Xvfb >/dev/null && command -v xwininfo >/dev/null; then
    # -noreset: each poll below connects and leaves, and a server that resets
    # when its last client leaves refuses whoever connects meanwhile.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>"$work/xvfb" &
    pids+=($!)
    for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
    display=:$(cat "$work/display")
    "${headless[@]}" "$game" -display "$display" -qwindowtitle "Typed title" 2>"$work/x11" &
    pids+=($!)
    found=
    for _ in $(seq 300); do
        DISPLAY=$display xwininfo -name "Typed title" >/dev/null 2>&1 && found=yes && break
        sleep 0.1
    done
    [ -n "$found" ] || fail "no window titled by -qwindowtitle on -display $display: $(cat "$work/x11") (Xvfb: $(cat "$work/xvfb"))"
else
    fail "Xvfb and xwininfo are needed (scripts/install-deps installs them)"
fi

[ "$failures" -eq 0 ] && echo "command line ok"
