#!/usr/bin/env bash
# No tool and no test writes into a data folder: the screenshot tool's training picture (a run
# that saves its best network) leaves a copy of the data byte for byte as it was, and the
# build's data folder holds only what the build puts there, whatever ran before this test.
# Usage: data_untouched.sh <path of brikka> <data folder> <source folder>
set -euo pipefail
tools="$(dirname "$(realpath "$1")")"
data="$(realpath "$2")"
source="$(realpath "$3")"
source "$source/tests/support/screen.sh" # $work and fail

listing() { (cd "$1" && find . -print0 | sort -z | xargs -0 ls -ld --time-style=+%s.%N |
  awk '{$2=""; print}' && find . -type f -print0 | sort -z | xargs -0 md5sum); }

cp -a "$data" "$work/data"
before="$(listing "$work/data")"
(cd "$work" && SDL_VIDEODRIVER=offscreen "$tools/screenshot" training shot.png --data data) ||
  fail "screenshot could not draw the training screen"
[ -s "$work/shot.png" ] || fail "no picture written"
[ "$(listing "$work/data")" = "$before" ] || fail "screenshot changed its data folder"

expected="$( (cd "$source" && ls Storage/*.txt | sed 's|^|./|'
  printf './%s\n' Fonts/nasaFont.ttf Mixer/mainMusic.mp3 Mixer/placeBlock.wav Mixer/clearLine.wav \
    Mixer/takeDamage.wav Mixer/clickButton.wav Mixer/gameOver.wav seed/BestNeuralNet.txt) |
  sort)"
found="$(cd "$data" && find . -type f | sort)"
extra="$(comm -13 <(echo "$expected") <(echo "$found"))"
[ -z "$extra" ] || fail "files written into the build's data folder: $extra"
echo "PASS: the tools leave data folders as the build made them"
