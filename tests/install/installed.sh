#!/usr/bin/env bash
# The installed game. `cmake --install` into a fresh prefix gives a valid menu entry, the icons,
# the man page and the data. A new player (empty HOME, no XDG_DATA_HOME) starts the installed
# program from an unrelated folder: the window opens and ~/.local/share/brikka is filled (what a
# restart keeps and refreshes there is tested in tests/app/runtime_test.cpp); its window is
# 1500 by 1000, holding Escape closes it with status 0, and it prints nothing. Without its data
# the program names where it looked and exits 1.
# Usage: installed.sh <build folder>
set -euo pipefail
build="$(realpath "$1")"
source "$(dirname "$(realpath "$0")")/../support/screen.sh"

prefix="$work/prefix"
cmake --install "$build" --prefix "$prefix" >/dev/null
share="$prefix/share"
desktop-file-validate "$share/applications/brikka.desktop" || fail "invalid desktop entry"
for size in 48 128 256; do
  icon="$share/icons/hicolor/${size}x${size}/apps/brikka.png"
  [ "$(identify -format '%m %wx%h' "$icon")" = "PNG ${size}x${size}" ] || fail "$icon"
  # Black, the white cell lines and three piece colours at the least.
  colours="$(convert "$icon" -format '%k' info:)"
  [ "$colours" -ge 5 ] || fail "$icon has only $colours colours"
done
zgrep -q '^\.TH BRIKKA 6' "$share/man/man6/brikka.6.gz" || fail "no man page"

# The game sees nothing of this environment but the path, a display and a home of its own.
mkdir "$work/home" "$work/elsewhere"
startScreen
play() {
  (cd "$work/elsewhere" && exec env -i PATH="$PATH" HOME="$work/home" DISPLAY="$DISPLAY" \
    SDL_AUDIODRIVER=dummy "$prefix/bin/brikka" >"$work/out" 2>"$work/err") &
  gamePid=$!
  local window size
  window="$(waitForWindow)" || fail "no window named Brikka appeared"
  size="$(xwininfo -id "$window" | awk '/Width:/ { w = $2 } /Height:/ { print w "x" $2 }')"
  [ "$size" = 1500x1000 ] || fail "the window is $size"
  quitWithEscape "$window" "$gamePid"
  gamePid=""
  [ ! -s "$work/err" ] || fail "the game reported problems on standard error"
  [ ! -s "$work/out" ] || fail "the game printed on standard output"
}

play
runtime="$work/home/.local/share/brikka"
data="$share/brikka"
player="Storage/controls.txt Storage/sens.txt Storage/highscore.txt Storage/BestNeuralNet.txt"
player+=" Storage/preferences.txt Storage/networks/Shipped.txt"
expected="$( (cd "$data" && find Storage Fonts Mixer -type f) && tr ' ' '\n' <<<"$player")"
diff <(sort -u <<<"$expected") <(cd "$runtime" && find . -type f | sed 's|^\./||' | sort) ||
  fail "the runtime folder does not hold exactly the shipped and the player's files"
for file in $(cd "$data" && find Storage Fonts Mixer -type f); do
  cmp -s "$data/$file" "$runtime/$file" || fail "$file differs from the installed one"
done
for copy in BestNeuralNet.txt networks/Shipped.txt; do
  cmp -s "$data/seed/BestNeuralNet.txt" "$runtime/Storage/$copy" ||
    fail "the new player did not get the seed network as Storage/$copy"
done
[ "$(cat "$runtime/Storage/highscore.txt")" = 0 ] || fail "a new high score is not 0"
[ "$(wc -l <"$runtime/Storage/controls.txt")" = 14 ] || fail "new bindings are not 14 lines"

status=0
BRIKKA_DATA="$work/nowhere" BRIKKA_HOME="$work/unused" "$prefix/bin/brikka" >/dev/null \
  2>"$work/err" || status=$?
[ "$status" = 1 ] && [ "$(wc -l <"$work/err")" = 1 ] && grep -q "$work/nowhere" "$work/err" ||
  fail "a missing data folder gave status $status"
[ ! -e "$work/unused" ] || fail "a runtime folder was made without data"
echo "PASS: installed files valid; the installed game filled its runtime folder"
