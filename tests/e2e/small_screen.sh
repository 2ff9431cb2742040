#!/usr/bin/env bash
# The game on a 1366 x 768 screen (a common laptop), under a plain X server: the window lies
# wholly on screen and the 1500 x 1000 drawing is scaled into it. (Clicks in scaled windows:
# scaled.sh.)
# Usage: small_screen.sh <brikka> <data dir> <source dir>
set -euo pipefail
source "$(dirname "$0")/common.bash"
start_game 1366x768

# --- the window on screen -------------------------------------------------------------------
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
[ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1366 ] && [ $((Y + HEIGHT)) -le 768 ] ||
  fail "the window (${WIDTH}x${HEIGHT} at $X,$Y) does not lie on the 1366x768 screen"

toScreen() { scaledPoint "$@" | tr ' ' ,; }
menu_shown() { all_white 110,210 440,290 160,810; } # faces of "Solo Play" and "Settings"
wait_for "the main menu was not drawn in the scaled window" menu_shown

quitWithEscape "$window" "$gamePid"
echo "PASS: ${WIDTH}x${HEIGHT} window at $X,$Y on a 1366x768 screen"
