#!/usr/bin/env bash
# Writes po/brikka.pot, the catalogue every translation starts from, from the game's sources:
# tr, trf, trLater and trFormatLater mark texts, and a button's caption (makeButton's fifth
# argument) is a message id too. Run it after changing a text a player reads.
#   tools/pot.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
cd "$root"
xgettext --from-code=UTF-8 --language=C++ --add-comments=TRANSLATORS: --no-wrap --sort-by-file \
  --keyword= --keyword=tr --keyword=trf --keyword=trLater --keyword=trFormatLater \
  --keyword=makeButton:5 --flag=trf:1:c-format --flag=trFormatLater:1:c-format \
  --package-name=Brikka --msgid-bugs-address=brikka@example.org \
  -o po/brikka.pot src/app/*.cpp src/render/*.cpp
