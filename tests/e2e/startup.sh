#!/usr/bin/env bash
# The real game in a virtual screen, started from an unrelated folder: it finds the data beside
# itself, fills its runtime folder, opens a 1500 by 1000 window titled "Brikka", and holding
# Escape closes it cleanly with exit status 0.
# Usage: startup.sh <path of brikka> <data folder> <source folder>
set -euo pipefail
brikka="$(realpath "$1")"
source "$(realpath "$3")/tests/support/screen.sh"

startScreen
cd "$work"
unset BRIKKA_DATA
BRIKKA_HOME="$work/runtime" SDL_AUDIODRIVER=dummy "$brikka" >"$work/out" 2>"$work/err" &
gamePid=$!

window="$(waitForWindow)" || fail "no window named Brikka appeared"
info="$(xwininfo -id "$window")"
width="$(sed -n 's/^ *Width: *//p' <<<"$info")"
height="$(sed -n 's/^ *Height: *//p' <<<"$info")"
[ "$width" = 1500 ] && [ "$height" = 1000 ] || fail "window is ${width}x${height}"
kill -0 "$gamePid" 2>/dev/null || fail "the game stopped on its own"

quitWithEscape "$window" "$gamePid"
gamePid=""
[ ! -s "$work/err" ] || fail "the game reported problems on standard error"
[ ! -s "$work/out" ] || fail "the game printed on standard output"
[ -s "$work/runtime/Fonts/nasaFont.ttf" ] && [ -s "$work/runtime/Storage/controls.txt" ] ||
  fail "the runtime folder was not filled"
echo "PASS: window Brikka 1500x1000; Escape closed it with status 0"
