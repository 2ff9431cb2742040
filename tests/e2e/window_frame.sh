#!/usr/bin/env bash
# The window under a window manager that frames it, on a 1366 x 768 screen: window and frame lie
# wholly on the screen, and the place it is left at comes back at the next start, exactly.
# Usage: window_frame.sh <brikka> <data dir> <source dir>
set -euo pipefail
source "$(dirname "$0")/common.bash"
command -v openbox >/dev/null || { echo "SKIP: no openbox to frame the window"; exit 0; }

startScreen 1366x768
openbox >"$work/openbox.log" 2>&1 &
managerPid=$!
trap 'kill "$managerPid" 2>/dev/null || true; cleanup' EXIT
sleep 1

# Starts the game, sets place to the window's "x y width height" and the frame's "left right
# top bottom", moves it to $1,$2 when given, and quits.
place=""
run_once() {
  launch_game
  sleep 1.5 # framed and placed; the first window may have been replaced by the renderer's
  window=$(xdotool search --onlyvisible --name '^Brikka$' | head -n 1)
  local info
  info=$(xwininfo -id "$window")
  place="$(awk '/Absolute upper-left X/ {x=$4} /Absolute upper-left Y/ {y=$4}
    /Width:/ {w=$2} /Height:/ {h=$2} END {print x, y, w, h}' <<<"$info")"
  place+=" $(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')"
  if [ $# -eq 2 ]; then
    xdotool windowmove "$window" "$1" "$2"
    sleep 1
  fi
  quitWithEscape "$window" "$gamePid"
  gamePid=""
}

run_once 60 20
read -r x y w h left right top bottom <<<"$place"
[ "$top" -gt 0 ] || fail "openbox gave the window no frame"
[ $((x - left)) -ge 0 ] && [ $((y - top)) -ge 0 ] && [ $((x + w + right)) -le 1366 ] &&
  [ $((y + h + bottom)) -le 768 ] ||
  fail "the framed window (${w}x${h} at $x,$y, frame $left $right $top $bottom) leaves the screen"
run_once
read -r x1 y1 _ <<<"$place"
run_once
read -r x2 y2 _ <<<"$place"
[ "$x1 $y1" = "$x2 $y2" ] || fail "the window moved from $x1,$y1 to $x2,$y2 between two starts"
echo "PASS: ${w}x${h} at $x,$y with its frame on a 1366x768 screen; kept at $x2,$y2"
