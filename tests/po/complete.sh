#!/usr/bin/env bash
# Every po/<language>.po present: msgfmt --check passes, its statistics name no untranslated
# and no fuzzy message, and it has every message of brikka.pot beside it. No .po at all passes
# (English needs none).
#   tests/po/complete.sh PO_FOLDER
set -uo pipefail
folder="$1"
failed=0
shopt -s nullglob
for po in "$folder"/*.po; do
  if ! stats="$(msgfmt --check --statistics -o /dev/null "$po" 2>&1)"; then
    echo "FAIL: $(basename "$po"): msgfmt --check refuses it"
    echo "$stats"
    failed=1
    continue
  fi
  if ! missing="$(msgcmp "$po" "$folder/brikka.pot" 2>&1)"; then
    echo "FAIL: $(basename "$po"): lacks messages of brikka.pot"
    echo "$missing"
    failed=1
  elif [[ "$stats" == *untranslated* || "$stats" == *fuzzy* ]]; then
    echo "FAIL: $(basename "$po"): $stats"
    failed=1
  else
    echo "ok: $(basename "$po"): $stats"
  fi
done
exit "$failed"
