#!/usr/bin/env bash
# The launcher's runtime folder: shipped data is refreshed on every launch, while the player's
# bindings, sensitivities, high score and trained network survive every later launch.
# Usage: runtime_folder.sh <path of brikka> <data folder> <source folder>
set -euo pipefail
data="$(realpath "$2")"
prepare="$(realpath "$3")/tools/prepare-runtime.sh"
work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
runtime="$work/runtime"
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

bash "$prepare" "$runtime" "$data"
for file in Storage/4BlockPieces.txt Storage/colorPieces.txt Fonts/nasaFont.ttf \
  Mixer/mainMusic.mp3 Mixer/clickButton.wav; do
  cmp -s "$data/$file" "$runtime/$file" || fail "$file was not copied"
done
[ "$(cat "$runtime/Storage/highscore.txt")" = 0 ] || fail "new high score file is not 0"
[ "$(printf '0.100000\n0.100000\nx')" = "$(cat "$runtime/Storage/sens.txt"; printf x)" ] ||
  fail "new sensitivity file differs from the defaults"
[ "$(wc -l <"$runtime/Storage/controls.txt")" = 14 ] || fail "new controls file is not 14 lines"
if [ -f "$data/seed/BestNeuralNet.txt" ]; then
  cmp -s "$data/seed/BestNeuralNet.txt" "$runtime/Storage/BestNeuralNet.txt" ||
    fail "the first network was not seeded"
fi

# The player plays: new score, new keys, a trained network. A stale piece file lingers.
printf '4200' >"$runtime/Storage/highscore.txt"
printf '0.500000\n0.250000\n' >"$runtime/Storage/sens.txt"
seq 10 23 >"$runtime/Storage/controls.txt"
echo "trained" >"$runtime/Storage/BestNeuralNet.txt"
echo "stale" >"$runtime/Storage/4BlockPieces.txt"

bash "$prepare" "$runtime" "$data"
[ "$(cat "$runtime/Storage/highscore.txt")" = 4200 ] || fail "the high score was overwritten"
[ "$(head -n 1 "$runtime/Storage/sens.txt")" = 0.500000 ] || fail "sensitivities were overwritten"
[ "$(head -n 1 "$runtime/Storage/controls.txt")" = 10 ] || fail "the bindings were overwritten"
[ "$(cat "$runtime/Storage/BestNeuralNet.txt")" = trained ] || fail "the network was overwritten"
cmp -s "$data/Storage/4BlockPieces.txt" "$runtime/Storage/4BlockPieces.txt" ||
  fail "a shipped piece file was not refreshed"
[ -z "$(find "$runtime" -name '*.new')" ] || fail "temporary copies were left behind"
echo "PASS: shipped data refreshed, the player's files kept"
