#!/usr/bin/env bash
# Usage: prepare-runtime.sh <runtime folder> <data folder of a build>
# Fills the folder the game runs in. What ships with the game (piece files, colours, fitness
# weights, font, music, sounds) is refreshed every time; the player's own files (bindings,
# sensitivities, high score, trained network) are only created when missing.
set -euo pipefail
if [ "$#" -ne 2 ]; then
  echo "usage: $0 <runtime folder> <data folder>" >&2
  exit 2
fi
runtime="$1"
data="$2"
for folder in "$data/Storage" "$data/Fonts" "$data/Mixer"; do
  if [ ! -d "$folder" ]; then
    echo "$0: $folder is missing; build the game first" >&2
    exit 1
  fi
done
mkdir -p "$runtime/Storage" "$runtime/Fonts" "$runtime/Mixer"

playerFiles=" controls.txt sens.txt highscore.txt BestNeuralNet.txt "

# Copy through a temporary name, so a running game never sees a half-copied file.
refresh() {
  cp -f "$1" "$2.new"
  mv -f "$2.new" "$2"
}
seed() { # seed <target> : writes standard input to target unless it exists
  if [ -e "$1" ]; then cat >/dev/null; else cat >"$1.new" && mv -f "$1.new" "$1"; fi
}

for file in "$data"/Storage/*.txt; do
  [ -e "$file" ] || continue
  name="$(basename "$file")"
  case "$playerFiles" in
    *" $name "*) seed "$runtime/Storage/$name" <"$file" ;;
    *) refresh "$file" "$runtime/Storage/$name" ;;
  esac
done
for file in "$data"/Fonts/* "$data"/Mixer/*; do
  [ -f "$file" ] || continue
  refresh "$file" "$runtime/$(basename "$(dirname "$file")")/$(basename "$file")"
done

if [ -f "$data/seed/BestNeuralNet.txt" ]; then
  seed "$runtime/Storage/BestNeuralNet.txt" <"$data/seed/BestNeuralNet.txt"
fi
printf '%s\n' 7 4 26 27 22 8 20 79 80 82 44 81 229 56 | seed "$runtime/Storage/controls.txt"
printf '0.100000\n0.100000\n' | seed "$runtime/Storage/sens.txt"
printf '0' | seed "$runtime/Storage/highscore.txt"
