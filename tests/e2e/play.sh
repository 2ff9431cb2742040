#!/usr/bin/env bash
# Plays the real program in a virtual X display: a solo game, a key rebinding and a versus
# match, driven by the mouse and keyboard and checked on screenshots and settings files.
# Usage: play.sh <brikka> <data dir> <source dir>
set -euo pipefail

brikka=$(realpath "$1")
data=$(realpath "$2")
source=$(realpath "$3")
work=$(mktemp -d)
run="$work/run"
xvfb_pid=""
game_pid=""

cleanup() {
  [ -n "$game_pid" ] && kill "$game_pid" 2>/dev/null || true
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  [ -f "$work/shot.png" ] && cp "$work/shot.png" "${TMPDIR:-/tmp}/brikka-e2e-failure.png" &&
    echo "last screenshot: ${TMPDIR:-/tmp}/brikka-e2e-failure.png" >&2
  exit 1
}

# --- runtime folder -------------------------------------------------------------------------
if [ -f "$source/tools/prepare-runtime.sh" ]; then
  bash "$source/tools/prepare-runtime.sh" "$run" "$data" >/dev/null
else
  mkdir -p "$run"
  cp -r "$data/Storage" "$data/Fonts" "$data/Mixer" "$run/"
  cp "$data/seed/BestNeuralNet.txt" "$run/Storage/BestNeuralNet.txt"
fi

# --- display --------------------------------------------------------------------------------
display=""
for n in $(seq 91 140); do
  if [ ! -e "/tmp/.X$n-lock" ] && [ ! -e "/tmp/.X11-unix/X$n" ]; then display=":$n"; break; fi
done
[ -n "$display" ] || fail "no free X display number"
Xvfb "$display" -screen 0 1500x1000x24 -nolisten tcp >/dev/null 2>&1 &
xvfb_pid=$!
export DISPLAY="$display"
for _ in $(seq 100); do xdpyinfo >/dev/null 2>&1 && break; sleep 0.1; done
xdpyinfo >/dev/null 2>&1 || fail "Xvfb did not start"

(cd "$run" && SDL_AUDIODRIVER=dummy exec "$brikka") &
game_pid=$!
window=$(timeout 20 xdotool search --sync --name '^Brikka$' | head -n 1) ||
  fail "the Brikka window did not appear"

# --- helpers --------------------------------------------------------------------------------
shoot() { import -window root "$work/shot.png"; }
# "R,G,B" of one pixel of the last screenshot.
pixel() {
  convert "$work/shot.png" -crop "1x1+$1+$2" -depth 8 txt:- |
    sed -n 2p | sed -E 's/.*\(([0-9]+),([0-9]+),([0-9]+).*/\1,\2,\3/'
}
# Waits until the check (a shell command run on fresh screenshots) succeeds, up to 15 s.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 60); do
    shoot
    if "$@"; then return 0; fi
    sleep 0.25
  done
  fail "$what"
}
click() { xdotool mousemove --window "$window" "$1" "$2" click 1; }
# Holds the key over several frames, so the game sees it down.
press() {
  xdotool keydown "$1"
  sleep 0.1
  xdotool keyup "$1"
  sleep 0.1
}
is_white() { [ "$(pixel "$1" "$2")" = "255,255,255" ]; }
# A coloured cell: neither the black of an empty cell nor the white of the grid.
is_coloured() { local p; p=$(pixel "$1" "$2"); [ "$p" != "0,0,0" ] && [ "$p" != "255,255,255" ]; }
column_white() { # x y0 y1: a vertical white line
  local mean
  mean=$(convert "$work/shot.png" -crop "1x$(($3 - $2))+$1+$2" -format '%[fx:minima.intensity]' info:)
  [ "$mean" = "1" ]
}
text_in() { # x y w h: some white glyph pixels inside a black area
  local bright
  bright=$(convert "$work/shot.png" -crop "$3x$4+$1+$2" -format '%[fx:maxima.intensity]' info:)
  [ "$bright" = "1" ]
}

menu_shown() { is_white 110 210 && is_white 160 810; } # "Solo Play" and "Settings" faces
xdotool mousemove --window "$window" 750 950
wait_for "the main menu was not drawn" menu_shown

# --- solo game ------------------------------------------------------------------------------
click 275 250
solo_shown() { column_white 550 105 895 && is_white 150 550 && is_white 449 550; }
wait_for "the solo board and score box were not drawn" solo_shown
xdotool mousemove --window "$window" 750 950
for _ in 1 2 3 4; do press Shift_R; done
bottom_filled() { is_coloured 690 880 || is_coloured 730 880 || is_coloured 770 880 || is_coloured 810 880; }
wait_for "hard-dropped pieces did not reach the bottom row" bottom_filled
text_in 160 490 280 40 || fail "the score text is missing"
text_in 160 570 280 40 || fail "the high score text is missing"
click 1375 925
wait_for "Back did not return to the main menu" menu_shown

# --- rebinding a key ------------------------------------------------------------------------
click 275 825
settings_shown() { is_white 905 105 && is_white 105 105; } # both players' Right controls
wait_for "the settings screen was not drawn" settings_shown
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
both_boards() { column_white 185 175 825 && column_white 935 175 825; }
wait_for "the two versus boards were not drawn" both_boards

# --- Escape ends the program ----------------------------------------------------------------
xdotool keydown Escape
for _ in $(seq 40); do kill -0 "$game_pid" 2>/dev/null || break; sleep 0.25; done
xdotool keyup Escape
if kill -0 "$game_pid" 2>/dev/null; then fail "Escape did not end the program"; fi
wait "$game_pid" || fail "the program exited with an error"
game_pid=""
echo "PASS"
