# Helpers for scripts that run the real game in a virtual screen; source this file. It makes a
# scratch folder $work, removed on exit together with the screen and the game ($gamePid) started
# there. A game's standard output and error go to $work/out and $work/err, which fail shows.

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
  # The last screenshot, kept for a look.
  local kept="${TMPDIR:-/tmp}/brikka-e2e-$(basename "$0" .sh).png"
  [ -f "$work/shot.bmp" ] && convert "$work/shot.bmp" "$kept" && echo "last screenshot: $kept" >&2
  for log in out err; do
    [ -s "$work/$log" ] && { echo "--- game std$log:" >&2; cat "$work/$log" >&2; }
  done
  exit 1
}

# Starts Xvfb (of the size given, else 1920x1200) on a display number it picks itself and
# exports DISPLAY.
startScreen() {
  mkfifo "$work/display"
  Xvfb -displayfd 3 -screen 0 "${1:-1920x1200}x24" -nolisten tcp 3>"$work/display" >"$work/xvfb.log" 2>&1 &
  xvfbPid=$!
  read -r -t 30 displayNumber <"$work/display" || fail "Xvfb did not start: $(cat "$work/xvfb.log")"
  export DISPLAY=":$displayNumber"
}

# Prints the id of the visible window named Brikka, waiting up to a minute for it.
waitForWindow() {
  timeout 60 xdotool search --sync --onlyvisible --name '^Brikka$' | head -n 1
}

# Holds Escape on the window until process $2 has gone (at most 30 s), then reaps it and fails
# unless it exited with status 0. Escape counts while it is held.
quitWithEscape() {
  local window=$1 pid=$2 status=0
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  xdotool keydown Escape
  for _ in $(seq 300); do
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.1
  done
  xdotool keyup Escape || true
  kill -0 "$pid" 2>/dev/null && fail "the game did not stop on Escape"
  wait "$pid" || status=$?
  [ "$status" -eq 0 ] || fail "the game exited with status $status"
}

# --- the game's window: screenshots and the pointer -----------------------------------------
# Points are in drawing coordinates (1500 x 1000); a script whose window shows the drawing
# scaled or moved redefines toScreen (a point on the screenshot).
shot="$work/shot.bmp"
toScreen() { echo "$1,$2"; }
# "x y" on the screen for a window at $X, $Y of $WIDTH x $HEIGHT (as xdotool getwindowgeometry
# --shell sets them) that shows the drawing scaled evenly and centred.
scaledPoint() {
  awk -v w="$WIDTH" -v h="$HEIGHT" -v x="$1" -v y="$2" -v left="$X" -v top="$Y" 'BEGIN {
    s = w / 1500; if (h / 1000 < s) s = h / 1000
    printf "%d %d", left + int((w - 1500 * s) / 2 + x * s), top + int((h - 1000 * s) / 2 + y * s) }'
}
shoot() { import -window root "$shot"; }
# "R,G,B" of each point "x,y" given, one line each, from the last screenshot.
rgb() {
  local format="" p
  for p in "$@"; do
    p=$(toScreen "${p%,*}" "${p#*,}")
    format+="%[fx:round(255*p{$p}.r)],%[fx:round(255*p{$p}.g)],%[fx:round(255*p{$p}.b)]\n"
  done
  convert "$shot" -format "$format" info:
}
# True when every point "x,y" after the colour "R,G,B" shows that colour on the last screenshot.
all_are() {
  local colour=$1
  shift
  [ -z "$(rgb "$@" | grep -v "^$colour$")" ]
}
all_white() { all_are 255,255,255 "$@"; }
# Waits until the check succeeds on a fresh screenshot, for up to about 30 seconds.
wait_for() {
  local what=$1
  shift
  for _ in $(seq 40); do
    shoot
    if "$@"; then return 0; fi
    sleep 0.2
  done
  fail "$what"
}
# Each key held over several frames, so the game sees it down.
press() {
  for key in "$@"; do xdotool keydown "$key" sleep 0.1 keyup "$key" sleep 0.1; done
}
# The game reads the pointer before the frame's events: move first, then press and release.
click() {
  xdotool mousemove --window "$window" "$1" "$2" sleep 0.1 mousedown 1 sleep 0.1 mouseup 1
}
