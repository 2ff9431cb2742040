# Shared by the end-to-end scripts (sourced, not run): the arguments, a work folder removed at
# exit, and start_game, which opens a virtual X screen of the given size and starts the game in
# a fresh runtime folder, leaving the window's id in $window.
# Arguments of the sourcing script: <brikka> <data dir> <source dir>
brikka=$(realpath "$1")
data=$(realpath "$2")
source=$(realpath "$3")
work=$(mktemp -d)
run="$work/run"
xvfb_pid=""
game_pid=""

cleanup() {
  if [ -n "$game_pid" ]; then
    kill "$game_pid" 2>/dev/null || true
    wait "$game_pid" 2>/dev/null || true
  fi
  [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

# The reason, and the last screenshot ($work/shot.bmp) kept for a look.
fail() {
  local kept
  kept="${TMPDIR:-/tmp}/brikka-e2e-$(basename "$0" .sh).png"
  echo "FAIL: $*" >&2
  [ -f "$work/shot.bmp" ] && convert "$work/shot.bmp" "$kept" && echo "last screenshot: $kept" >&2
  exit 1
}

start_game() { # <screen width>x<height>
  bash "$source/tools/prepare-runtime.sh" "$run" "$data" >/dev/null
  # Xvfb picks a free display itself and writes its number once it accepts connections.
  Xvfb -displayfd 3 -screen 0 "$1x24" -nolisten tcp 3>"$work/display" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do [ -s "$work/display" ] && break; sleep 0.1; done
  [ -s "$work/display" ] || fail "Xvfb did not start"
  export DISPLAY=":$(head -n 1 "$work/display")"
  (cd "$run" && SDL_AUDIODRIVER=dummy exec "$brikka") &
  game_pid=$!
  window=$(timeout 20 xdotool search --sync --onlyvisible --name '^Brikka$' | head -n 1) ||
    fail "the Brikka window did not appear"
}
