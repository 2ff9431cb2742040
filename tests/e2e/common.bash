# Shared by the end-to-end scripts (sourced, not run): the arguments and start_game, which opens
# a virtual X screen of the given size and starts the game in a fresh runtime folder that the
# game fills itself, leaving the window's id in $window. Built on tests/support/screen.sh.
# Arguments of the sourcing script: <brikka> <data dir> <source dir>
brikka=$(realpath "$1")
data=$(realpath "$2")
source "$(realpath "$3")/tests/support/screen.sh"
run="$work/run"

# Starts the game on the screen there is, and waits for its window.
launch_game() {
  (cd "$work" && BRIKKA_HOME="$run" BRIKKA_DATA="$data" SDL_AUDIODRIVER=dummy \
    exec "$brikka" >"$work/out" 2>"$work/err") &
  gamePid=$!
  window=$(waitForWindow) || fail "the Brikka window did not appear"
}
start_game() { # <screen width>x<height>
  startScreen "$1"
  launch_game
}
