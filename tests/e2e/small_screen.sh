#!/usr/bin/env bash
# The game on a 1366 x 768 screen (a common laptop), under a plain X server: the window lies
# wholly on screen, the 1500 x 1000 drawing is scaled into it, and clicking "Solo Play" and then
# "Back" where they appear on screen works.
# Usage: small_screen.sh <brikka> <data dir> <source dir>
set -euo pipefail
source "$(dirname "$0")/common.bash"
start_game 1366x768

# --- the window on screen -------------------------------------------------------------------
eval "$(xdotool getwindowgeometry --shell "$window")" # X, Y, WIDTH, HEIGHT
[ "$X" -ge 0 ] && [ "$Y" -ge 0 ] && [ $((X + WIDTH)) -le 1366 ] && [ $((Y + HEIGHT)) -le 768 ] ||
  fail "the window (${WIDTH}x${HEIGHT} at $X,$Y) does not lie on the 1366x768 screen"

toWindow() { scaledPoint "$@"; }
toScreen() {
  local p
  read -r -a p <<<"$(toWindow "$1" "$2")"
  echo "$((p[0] + X)),$((p[1] + Y))"
}

menu_shown() { all_white 110,210 440,290 160,810; } # faces of "Solo Play" and "Settings"
back_shown() { all_white 1310,905 1440,945; }       # face of the play screens' "Back"
wait_for "the main menu was not drawn in the scaled window" menu_shown

click 275 250 # "Solo Play"
wait_for "a click on Solo Play did not start a game" back_shown
click 1375 925 # "Back", in the window's lower right where the drawing puts it
wait_for "a click on Back did not return to the main menu" menu_shown
shoot
back_shown && fail "the Back button is still drawn on the main menu"

quitWithEscape "$window" "$gamePid"
echo "PASS: ${WIDTH}x${HEIGHT} window at $X,$Y on a 1366x768 screen"
