#!/usr/bin/env bash
# The real program worked with the keyboard alone: the focus reaches "Versus Bot", a level is
# chosen and played, Backspace comes back, and a key is rebound on the settings screen, where
# Escape cancels a rebinding without ending the program.
# Usage: keys.sh <brikka> <data dir> <source dir>
set -euo pipefail
source "$(dirname "$0")/common.bash"
start_game 1500x1000

white=255,255,255

# The pointer rests on the window (keys go where it is) and stays still from here on.
xdotool mousemove --window "$window" 750 990
xdotool windowfocus --sync "$window" 2>/dev/null || true
wait_for "the main menu was not drawn" all_are $white 110,360 160,810

# --- Down, Down, Down: the focus outline on "Versus Bot" ------------------------------------
press Down Down Down
wait_for "no focus outline around Versus Bot" all_are 255,220,0 95,550 275,495 455,550
press Return
wait_for "the difficulty screen was not drawn" all_are $white 1060,210 910,810
press Return # "Easy Peasy", focused first
both_boards() { all_are $white 185,175 185,800 935,175 935,800 1310,910; } # grid lines, Back
wait_for "the versus bot game did not start" both_boards
press Shift_R Shift_R
# Player 1's board on the right: the centres of its bottom row (cells from x 935, pitch 33).
bottom=()
for i in $(seq 0 9); do bottom+=("$((951 + 33 * i)),814"); done
landed() { ! all_are 0,0,0 "${bottom[@]}"; }
wait_for "hard-dropped pieces did not land" landed
press BackSpace
wait_for "Backspace did not return to the main menu" all_are $white 110,360 160,810

# --- the settings by keys: a rebinding cancelled with Escape, then one made -----------------
press Down Down Down Down Return
wait_for "the settings screen was not drawn" all_are $white 905,105 105,105
press Right # from "More Settings" to "P1 | Right"
press Return # now it waits: Escape would end the program otherwise
press Escape
sleep 0.5
kill -0 "$gamePid" 2>/dev/null || fail "Escape during a rebinding ended the program"
[ "$(sed -n 8p "$run/Storage/controls.txt")" = "79" ] || fail "Escape changed the binding"
press Return k
rebound() { [ "$(sed -n 8p "$run/Storage/controls.txt")" = "14" ]; }
wait_for "P1 Right was not stored as K (14) in Storage/controls.txt" rebound

# --- Escape, with nothing waiting, still ends the program -----------------------------------
quitWithEscape "$window" "$gamePid"
echo "PASS"
