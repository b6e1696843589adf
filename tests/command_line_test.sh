#!/usr/bin/env bash
# The command line is read before any display is needed: --help and --version
# answer and exit 0 with no display at all; a mistake names itself, shows the
# usage and fails without opening a window.
# Usage: command_line_test.sh <game binary> <version>
set -uo pipefail
game=$1 version=$2
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

errors=$(mktemp)
trap 'rm -f "$errors"' EXIT
run() {  # run ARGS...: sets status, out, err
    out=$(env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$game" "$@" 2>"$errors")
    status=$?
    err=$(cat "$errors")
}

run --help
[ "$status" -eq 0 ] || fail "--help exited $status: $err"
grep -q -- '--precise-timers' <<<"$out" || fail "--help does not offer --precise-timers"
grep -q '^Usage: catch-the-moxel' <<<"$out" || fail "--help shows no usage: $out"

run --version
[ "$status" -eq 0 ] || fail "--version exited $status: $err"
[ "$out" = "catch-the-moxel $version" ] || fail "--version printed '$out'"

for mistake in --no-such-option stray-argument; do
    run --precise-timers "$mistake"
    [ "$status" -ne 0 ] || fail "$mistake was accepted"
    grep -q -- "'${mistake#--}'" <<<"$err" || fail "the error does not name $mistake: $err"
    grep -q '^Usage:' <<<"$err" || fail "the error for $mistake shows no usage"
    grep -qiE 'qt\.qpa|xcb|could not connect' <<<"$err" && fail "$mistake reached the window system: $err"
done

[ "$failures" -eq 0 ] && echo "command line ok"
