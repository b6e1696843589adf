#!/usr/bin/env bash
# The Windows build under Wine, as a player meets it, in a fresh prefix on
# Xvfb with real X input (xdotool): the command line (console and message
# box); a game (start, a Moxel that moves, Stop, Level 3, a catch, the score
# window, Close, Exit); then the installer (silent install, Start menu entries,
# uninstall key, the installed game starting, a clean uninstall). Each step's
# screenshot is kept in <build>/screenshots/ to be looked at.
# Usage: windows_check.sh <build folder of the windows preset>
set -uo pipefail
build=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")/.." && pwd)
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

work=$(mktemp -d)
export WINEPREFIX=$work/wine WINEDEBUG=-all
wine() { "$here/scripts/wine-run" "$@"; }
cleanup() { wineserver -k 2>/dev/null; kill "$xvfb" 2>/dev/null; wait; rm -rf "$work"; }
trap cleanup EXIT
# -noreset: a server resetting as its last client leaves refuses the next.
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$work/display" 2>/dev/null &
xvfb=$!
for _ in $(seq 50); do [ -s "$work/display" ] && break; sleep 0.1; done
export DISPLAY=:$(cat "$work/display")
# Xvfb has no window manager to focus a new window, which Wine waits for
# unless it manages its windows itself, as Windows does.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null
shots=$build/screenshots
mkdir -p "$shots"
shot() { import -window root "$shots/$1.png"; }
keys() { for key in "$@"; do xdotool key --clearmodifiers "$key"; sleep 0.5; done; }
window() { timeout 30 xdotool search --sync --name "$1" 2>/dev/null | head -n1; }
gone() {  # gone TITLE: true once no window has the title (10 s at most)
    for _ in $(seq 100); do xdotool search --name "$1" >/dev/null || return 0; sleep 0.1; done
    return 1
}
# count COLOUR: pixels of exactly that colour in the last screenshot
count() { convert-im6.q16 "$shots/$last.png" -fill black +opaque "$1" -fill white -opaque "$1" \
    -format '%[fx:int(mean*w*h+0.5)]' info:; }
play_until_exit() {  # starts the game (ARGS...) and plays it through; sets status
    wine "$@" & local pid=$!
    [ -n "$(window "^There's something about Moxel$")" ] || { fail "no main window"; kill $pid; return; }
    sleep 2; last=01-start; shot $last
    keys alt+s; last=02-running-a; shot $last
    sleep 0.5; last=02-running-b; shot $last
    compare -metric AE "$shots/02-running-a.png" "$shots/02-running-b.png" null: 2>/dev/null &&
        fail "nothing moved while the game ran"
    keys alt+s alt+d Down Down Down Return; last=03-level-3; shot $last
    # The caught Moxel is the big one, found by its shoes' colour below the
    # title and menu bars (the title bar's icon has the same shoes); where the
    # field's edge hides them, the game runs on a little and stops again.
    eval "$(xdotool getwindowgeometry --shell "$(window "^There's something about Moxel$")")"
    for _ in 1 2 3 4 5; do
        keys alt+s; last=04-stopped; shot $last
        read -r x y < <(convert-im6.q16 "$shots/$last.png" -crop "${WIDTH}x$((HEIGHT - 60))+$X+$((Y + 60))" \
            txt:- | grep -m1 -i '#FF4A4A' | sed -E 's/^([0-9]+),([0-9]+):.*/\1 \2/')
        [ -n "$x" ] && break
        keys alt+s
    done
    xdotool mousemove "$((X + ${x:-0}))" "$((Y + 60 + ${y:-0}))" click 1
    if [ -n "$(window '^Score Bar$')" ]; then
        sleep 1; last=05-score-window; shot $last
        # The values are drawn in the selection blue.
        [ "$(count '#0A246A')" -gt 5 ] || fail "the score window's values are not blue"
        keys alt+c
        gone '^Score Bar$' || fail "Alt+C did not close the score window"
        last=06-closed; shot $last
    else
        fail "a click on the Moxel at $x,$y opened no score window"
    fi
    keys alt+d Left e
    gone "^There's something about Moxel$" || { fail "Exit left the window open"; kill $pid; }
    wait $pid
    status=$?
}

game=$build/app/catch-the-moxel.exe
# From a console: the text there, the documented statuses.
out=$(wine "$game" --version | tr -d '\r')
[ "$out" = "catch-the-moxel $version" ] || fail "--version printed '$out'"
wine "$game" --help | grep -q -- --precise-timers || fail "--help does not offer --precise-timers"
err=$(wine "$game" --no-such-option 2>&1 >/dev/null)
[ $? -eq 2 ] && grep -q "'no-such-option'" <<<"$err" || fail "a mistake did not fail with 2: $err"
# Without a console (started by start.exe, which does not wait): a message box.
wine start "$(winepath -w "$game")" --version
if [ -n "$(window '^Catch the Moxel$')" ]; then
    last=00-message-box; shot $last
    keys Return
    gone '^Catch the Moxel$' || fail "the message box did not close"
else
    fail "--version without a console showed no message box"
fi

play_until_exit "$game"
[ "$status" -eq 0 ] || fail "the game ended with status $status"

setup=$build/catch-the-moxel-$version-windows-x86_64-setup.exe
wine "$setup" /S || fail "the silent install failed"
installed="$WINEPREFIX/drive_c/Program Files/Catch the Moxel"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Catch the Moxel"
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Catch the Moxel'
[ -f "$installed/catch-the-moxel.exe" ] || fail "the game is not installed"
for entry in "Catch the Moxel" "Catch the Moxel (precise timers)"; do
    [ -f "$menu/$entry.lnk" ] || fail "no Start menu entry '$entry'"
done
entries=$(wine reg query "$key" | tr -d '\r')
for value in DisplayName DisplayVersion Publisher DisplayIcon EstimatedSize UninstallString; do
    grep -q "^ *$value " <<<"$entries" || fail "the uninstall key has no $value"
done
# The installed game starts from its Start menu entry.
wine start "$(winepath -w "$menu/Catch the Moxel.lnk")"
[ -n "$(window "^There's something about Moxel$")" ] || fail "the installed game did not start"
last=07-installed-game; shot $last
keys alt+s alt+s alt+d Left e
gone "^There's something about Moxel$" || fail "the installed game did not end"
wine "$installed/Uninstall.exe" /S
wineserver --wait
[ ! -e "$installed" ] || fail "the uninstaller left $(ls "$installed")"
[ ! -e "$menu" ] || fail "the uninstaller left the Start menu entries"
wine reg query "$key" >/dev/null 2>&1 && fail "the uninstaller left the uninstall key"

[ "$failures" -eq 0 ] && echo "windows check: all passed; screenshots in $shots"
exit $((failures > 0))
