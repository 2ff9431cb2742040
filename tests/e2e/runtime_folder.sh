#!/usr/bin/env bash
# The launcher's runtime folder: shipped data is refreshed on every launch, while the player's
# bindings, sensitivities, high score and trained network survive every later launch.
# Usage: runtime_folder.sh <path of brikka> <data folder> <source folder>
set -euo pipefail
data="$(realpath "$2")"
prepare="$(realpath "$3")/tools/prepare-runtime.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
storage="$work/runtime/Storage"
fail() { echo "FAIL: $*" >&2 && exit 1; }

bash "$prepare" "$work/runtime" "$data"
[ "$(cat "$storage/highscore.txt")" = 0 ] || fail "new high score file is not 0"
[ "$(wc -l <"$storage/controls.txt")" = 14 ] || fail "new controls file is not 14 lines"

# The player plays: new score, keys, sensitivities, a trained network. A piece file goes stale.
player=(highscore.txt sens.txt controls.txt BestNeuralNet.txt)
for file in "${player[@]}"; do echo "played $file" >"$storage/$file"; done
echo "stale" >"$storage/4BlockPieces.txt"

bash "$prepare" "$work/runtime" "$data"
for file in "${player[@]}"; do
  [ "$(cat "$storage/$file")" = "played $file" ] || fail "$file was overwritten"
done
for file in Storage/4BlockPieces.txt Storage/colorPieces.txt Fonts/nasaFont.ttf \
  Mixer/mainMusic.mp3 Mixer/clickButton.wav; do
  cmp -s "$data/$file" "$work/runtime/$file" || fail "$file was not refreshed"
done
[ -z "$(find "$work/runtime" -name '*.new')" ] || fail "temporary copies were left behind"
echo "PASS: shipped data refreshed, the player's files kept"
