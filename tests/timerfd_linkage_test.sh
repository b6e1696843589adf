#!/usr/bin/env bash
# The game links timerfd functions only when built to use them: a native build
# on Linux does, a MOXEL_TICK_SOURCE=qtimer build has none.
# Usage: timerfd_linkage_test.sh <nm> <game> native|qtimer
set -euo pipefail
nm=$1 game=$2 source=$3
symbols=$("$nm" -D --undefined-only "$game")
linked=$(grep -o 'timerfd_[a-z]*' <<<"$symbols" | sort -u | tr '\n' ' ' || true)
echo "timerfd functions linked: ${linked:-none}"
case $source in
native) [ -n "$linked" ] ;;
qtimer) [ -z "$linked" ] ;;
*) echo "unknown tick source $source" >&2; exit 2 ;;
esac
