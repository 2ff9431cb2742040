#!/usr/bin/env bash
# The real game in a virtual screen: a 1500 by 1000 window titled "Brikka" opens, and holding
# Escape closes it cleanly with exit status 0.
# Usage: startup.sh <path of brikka> <data folder> <source folder>
set -euo pipefail
brikka="$(realpath "$1")"
data="$(realpath "$2")"
source="$(realpath "$3")"

work="$(mktemp -d)"
xvfbPid=""
gamePid=""
cleanup() {
  [ -n "$gamePid" ] && kill "$gamePid" 2>/dev/null || true
  [ -n "$xvfbPid" ] && kill "$xvfbPid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  for log in out err; do
    [ -s "$work/$log" ] && { echo "--- game std$log:" >&2; cat "$work/$log" >&2; }
  done
  exit 1
}

bash "$source/tools/prepare-runtime.sh" "$work/runtime" "$data"

# A screen of our own: Xvfb picks a free display number and writes it to the pipe.
mkfifo "$work/display"
Xvfb -displayfd 3 -screen 0 1920x1200x24 -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
xvfbPid=$!
read -r -t 30 displayNumber <"$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
export DISPLAY=":$displayNumber"

cd "$work/runtime"
SDL_AUDIODRIVER=dummy "$brikka" >"$work/out" 2>"$work/err" &
gamePid=$!

window="$(timeout 60 xdotool search --sync --onlyvisible --name '^Brikka$' | head -n 1)" ||
  fail "no window named Brikka appeared"
info="$(xwininfo -id "$window")"
width="$(sed -n 's/^ *Width: *//p' <<<"$info")"
height="$(sed -n 's/^ *Height: *//p' <<<"$info")"
[ "$width" = 1500 ] && [ "$height" = 1000 ] || fail "window is ${width}x${height}"
kill -0 "$gamePid" 2>/dev/null || fail "the game stopped on its own"

# Escape counts while it is held, so hold it until the game has gone (at most 30 s).
xdotool windowfocus --sync "$window" 2>/dev/null || true
xdotool keydown Escape
for _ in $(seq 300); do
  kill -0 "$gamePid" 2>/dev/null || break
  sleep 0.1
done
xdotool keyup Escape || true
kill -0 "$gamePid" 2>/dev/null && fail "the game did not stop on Escape"
status=0
wait "$gamePid" || status=$?
gamePid=""
[ "$status" -eq 0 ] || fail "the game exited with status $status"
[ ! -s "$work/err" ] || fail "the game reported problems on standard error"
[ ! -s "$work/out" ] || fail "the game printed on standard output"
echo "PASS: window Brikka 1500x1000; Escape closed it with status 0"
