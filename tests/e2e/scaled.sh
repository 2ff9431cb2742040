#!/usr/bin/env bash
# The game's window resized to laptop, small, tiny and large sizes: the empty solo well keeps
# all 11 column lines and 21 row lines, the score box its four edges, and the settings screen's
# sliders their track and knob. Counted from the screen's pixels, as a player would see them.
# Usage: scaled.sh <brikka> <data dir> <source dir>
set -euo pipefail
source "$(dirname "$0")/common.bash"
start_game 2600x1700

press() { # a click at a drawing point, then a screenshot
  read -r x y <<<"$(scaledPoint "$1" "$2")"
  xdotool mousemove "$x" "$y" sleep 0.2 mousedown 1 sleep 0.1 mouseup 1 sleep 0.5
  import -window root "$shot"
}
expect() { # <what> <runs expected> <x1 y1 x2 y2>: white runs on that line of the drawing
  read -r x1 y1 <<<"$(scaledPoint "$3" "$4")"
  read -r x2 y2 <<<"$(scaledPoint "$5" "$6")"
  local runs
  runs=$(convert "$shot" -crop "$((x2 - x1 + 1))x$((y2 - y1 + 1))+$x1+$y1" -depth 8 txt:- |
    awk -F'[()]' 'NR > 1 { split($2, c, ","); white = c[1] >= 250 && c[2] >= 250 && c[3] >= 250
                           n += white && !inside; inside = white } END { print n + 0 }')
  [ "$runs" = "$2" ] || fail "${WIDTH}x${HEIGHT}: $1: $runs instead of $2"
}

for s in 1152x768 1000x700 640x427 2560x1600; do
  xdotool windowmove "$window" 0 0 windowsize "$window" "${s%x*}" "${s#*x}" sleep 0.7
  eval "$(xdotool getwindowgeometry --shell "$window")"
  press 275 250 # "Solo Play": an empty well with a piece at its top
  expect "column lines of the well" 11 540 510 960 510
  expect "row lines of the well" 21 570 90 570 910
  expect "top and bottom edges of the score box" 2 155 440 155 660
  expect "left and right edges of the score box" 2 140 460 460 460
  press 1375 925 # "Back"
  press 275 825  # "Settings"
  expect "slider track edges" 2 1300 815 1300 885
  expect "slider knob and track ends" 3 860 850 1440 850
  press 750 875 # "Back"
done

quitWithEscape "$window" "$gamePid"
echo "PASS: every line and edge shows at 1152x768, 1000x700, 640x427 and 2560x1600"
