#!/usr/bin/env bash
# Plays the real program in a virtual X display: a solo game, a key rebinding and a versus
# match, driven by the mouse and keyboard and checked on screenshots and settings files.
# Usage: play.sh <brikka> <data dir> <source dir>
set -euo pipefail
source "$(dirname "$0")/common.bash"
start_game 1500x1000

# --- helpers (more in tests/support/screen.sh) ---------------------------------------------
# How many of the given pixels show a piece: neither the black of an empty cell nor white.
coloured() { rgb "$@" | grep -cvE '^(0,0,0|255,255,255)$' || true; }
# Darkest and brightest intensity (0..1) of a rectangle "w h x y".
darkest() { convert "$shot" -crop "$1x$2+$3+$4" -format '%[fx:minima.intensity]' info:; }
brightest() { convert "$shot" -crop "$1x$2+$3+$4" -format '%[fx:maxima.intensity]' info:; }
# With BRIKKA_E2E_SHOTS set to a folder, the screenshots behind the checks are kept there.
keep() {
  if [ -n "${BRIKKA_E2E_SHOTS:-}" ]; then convert "$shot" "$BRIKKA_E2E_SHOTS/$1.png"; fi
}

menu_shown() { all_white 110,210 160,810; } # the faces of "Solo Play" and "Settings"
xdotool mousemove --window "$window" 750 950
wait_for "the main menu was not drawn" menu_shown

# --- solo game ------------------------------------------------------------------------------
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
keep solo
[ "$(brightest 280 40 160 490)" = 1 ] || fail "the score text is missing"
[ "$(brightest 280 40 160 570)" = 1 ] || fail "the high score text is missing"
click 1375 925
wait_for "Back did not return to the main menu" menu_shown

# --- rebinding a key ------------------------------------------------------------------------
click 275 825
settings_shown() { all_white 905,105 105,105; } # both players' Right controls
wait_for "the settings screen was not drawn" settings_shown
keep settings
click 1150 137 # "P1 | Right:"
xdotool mousemove --window "$window" 750 300
press k
rebound() { [ "$(sed -n 8p "$run/Storage/controls.txt")" = "14" ]; }
for _ in $(seq 40); do rebound && break; sleep 0.25; done
rebound || fail "P1 Right was not stored as K (14) in Storage/controls.txt"
[ "$(wc -l <"$run/Storage/controls.txt")" = "14" ] || fail "controls.txt lost lines"
click 750 875
wait_for "Back from the settings did not return to the main menu" menu_shown

# --- player versus --------------------------------------------------------------------------
click 275 400
xdotool mousemove --window "$window" 750 950
both_boards() { [ "$(darkest 1 650 185 175)" = 1 ] && [ "$(darkest 1 650 935 175)" = 1 ]; }
wait_for "the two versus boards were not drawn" both_boards
keep versus

# --- Escape ends the program ----------------------------------------------------------------
quitWithEscape "$window" "$gamePid"
echo "PASS"
