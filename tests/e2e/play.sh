#!/usr/bin/env bash
# Plays the real program in a virtual X display. With the keyboard alone: the focus reaches
# "Versus Bot", a level is chosen and played, Backspace twice comes back, and a key is rebound on
# the settings screen, where Escape cancels a rebinding without ending the program. Then with the
# mouse: a solo game started, played and left. Checked on screenshots and the controls file.
# Usage: play.sh <brikka> <data dir> <source dir>
set -euo pipefail
source "$(dirname "$0")/common.bash"
start_game 1500x1000

menu_shown() { all_white 110,210 160,810; } # the faces of "Solo Play" and "Settings"

# The pointer rests on the window (keys go where it is) and stays still until the mouse part.
xdotool mousemove --window "$window" 750 990
xdotool windowfocus --sync "$window" 2>/dev/null || true
wait_for "the main menu was not drawn" menu_shown

# --- Down, Down, Down: the focus outline on "Versus Bot" ------------------------------------
press Down Down Down
wait_for "no focus outline around Versus Bot" all_are 255,220,0 95,550 275,495 455,550
press Return
wait_for "the difficulty screen was not drawn" all_white 1060,210 910,810
press Return # "Easy Peasy", focused first
both_boards() { all_white 185,175 185,800 935,175 935,800 1310,910; } # grid lines, Back
wait_for "the versus bot game did not start" both_boards
press Shift_R Shift_R
# Player 1's board on the right: the centres of its bottom row (cells from x 935, pitch 33).
bottom=()
for i in $(seq 0 9); do bottom+=("$((951 + 33 * i)),814"); done
landed() { ! all_are 0,0,0 "${bottom[@]}"; }
wait_for "hard-dropped pieces did not land" landed
press BackSpace BackSpace # a running match is left only at the second press
# The focus is back on "Versus Bot", which led to the game, drawn inverted: look at "Player
# Versus" and "Settings" instead.
wait_for "Backspace did not return to the main menu" all_white 110,360 160,810

# --- the settings by keys: a rebinding cancelled with Escape, then one made -----------------
press Down Down Return
wait_for "the settings screen was not drawn" all_white 905,105 105,105
press Right  # from "More Settings" to "P1 | Right"
press Return # now it waits: Escape would end the program otherwise
press Escape
sleep 0.5
kill -0 "$gamePid" 2>/dev/null || fail "Escape during a rebinding ended the program"
[ "$(sed -n 8p "$run/Storage/controls.txt")" = "79" ] || fail "Escape changed the binding"
press Return k
rebound() { [ "$(sed -n 8p "$run/Storage/controls.txt")" = "14" ]; }
wait_for "P1 Right was not stored as K (14) in Storage/controls.txt" rebound

# --- a solo game by mouse -------------------------------------------------------------------
# How many of the given pixels show a piece: neither the black of an empty cell nor white.
coloured() { rgb "$@" | grep -cvE '^(0,0,0|255,255,255)$' || true; }
# Darkest and brightest intensity (0..1) of a rectangle "w h x y".
darkest() { convert "$shot" -crop "$1x$2+$3+$4" -format '%[fx:minima.intensity]' info:; }
brightest() { convert "$shot" -crop "$1x$2+$3+$4" -format '%[fx:maxima.intensity]' info:; }
click 750 875 # the settings' "Back"
wait_for "Back from the settings did not return to the main menu" menu_shown
click 275 250
solo_shown() { [ "$(darkest 1 790 550 105)" = 1 ] && all_white 150,550 449,550; }
wait_for "the solo board and score box were not drawn" solo_shown
xdotool mousemove --window "$window" 750 950
for _ in 1 2 3 4; do press Shift_R; done
# Four dropped pieces fill at least 16 cells; gravity alone would need well over a minute.
cell_centres=()
for i in $(seq 0 9); do for j in $(seq 0 19); do cell_centres+=("$((570 + 40 * i)),$((120 + 40 * j))"); done; done
pieces_landed() { [ "$(coloured "${cell_centres[@]}")" -ge 16 ]; }
wait_for "hard-dropped pieces did not land" pieces_landed
[ "$(brightest 280 40 160 490)" = 1 ] || fail "the score text is missing"
[ "$(brightest 280 40 160 570)" = 1 ] || fail "the high score text is missing"
click 1375 925
wait_for "Back did not return to the main menu" menu_shown

# --- Escape, with nothing waiting, still ends the program -----------------------------------
quitWithEscape "$window" "$gamePid"
echo "PASS"
