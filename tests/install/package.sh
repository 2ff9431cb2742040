#!/usr/bin/env bash
# The Debian packages: `cpack -G DEB` builds them. The game's holds the game, its data, the menu
# entry, the three icons and the man page, and depends on the SDL2 libraries but not on MPI; the
# laboratory's holds brikka-lab and depends on the game's of the same version.
# Usage: package.sh <build folder>
set -euo pipefail
build="$(realpath "$1")"
source "$(dirname "$(realpath "$0")")/../support/screen.sh" # $work and fail

(cd "$build" && cpack -G DEB -B "$work" >"$work/cpack.log" 2>&1) ||
  fail "cpack failed: $(cat "$work/cpack.log")"
package="$(ls "$work"/brikka_*.deb)"
contents="$(dpkg-deb -c "$package" | awk '{print $NF}')"
for file in usr/bin/brikka usr/share/applications/brikka.desktop \
  usr/share/icons/hicolor/48x48/apps/brikka.png usr/share/icons/hicolor/128x128/apps/brikka.png \
  usr/share/icons/hicolor/256x256/apps/brikka.png usr/share/man/man6/brikka.6.gz \
  usr/share/brikka/Storage/4BlockPieces.txt usr/share/brikka/Storage/colorPieces.txt \
  usr/share/brikka/Fonts/nasaFont.ttf usr/share/brikka/Mixer/mainMusic.mp3 \
  usr/share/brikka/Mixer/gameOver.wav usr/share/brikka/seed/BestNeuralNet.txt; do
  grep -qx "\./$file" <<<"$contents" || fail "$file is not in the package"
done
# Each translation the sources have, compiled where gettext looks for it.
source_dir="$(dirname "$(realpath "$0")")/../.."
for po in "$source_dir"/po/*.po; do
  [ -e "$po" ] || continue
  file="usr/share/locale/$(basename "$po" .po)/LC_MESSAGES/brikka.mo"
  grep -qx "\./$file" <<<"$contents" || fail "$file is not in the package"
done
depends="$(dpkg-deb -f "$package" Depends)"
for library in libsdl2-2.0-0 libsdl2-ttf-2.0-0 libsdl2-mixer-2.0-0; do
  grep -q "$library" <<<"$depends" || fail "the package does not depend on $library: $depends"
done
grep -q mpi <<<"$depends" && fail "the game's package depends on MPI: $depends"
lab="$(ls "$work"/brikka-lab_*.deb)" || fail "no package of the laboratory"
dpkg-deb -c "$lab" | grep -q '\./usr/bin/brikka-lab$' || fail "brikka-lab is not in $lab"
grep -q "brikka (= $(dpkg-deb -f "$package" Version))" <<<"$(dpkg-deb -f "$lab" Depends)" ||
  fail "the laboratory does not depend on the game's package: $(dpkg-deb -f "$lab" Depends)"
echo "PASS: $(basename "$package") holds the game and depends on: $depends"
