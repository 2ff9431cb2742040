#!/usr/bin/env bash
# po/brikka.pot holds exactly the message ids the sources mark: a text added or changed without
# running tools/pot.sh would reach no translator.
#   tests/po/current.sh SOURCE_DIR
set -euo pipefail
root="$(cd "$1" && pwd)"
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
mkdir -p "$scratch/tools" "$scratch/po"
cp "$root/tools/pot.sh" "$scratch/tools/"
ln -s "$root/src" "$scratch/src"
bash "$scratch/tools/pot.sh"
ids() { msgcat --no-wrap --sort-output --no-location "$1" | grep -v '^#' | grep -v POT-Creation; }
if ! diff <(ids "$root/po/brikka.pot") <(ids "$scratch/po/brikka.pot"); then
  echo "FAIL: po/brikka.pot is out of date: run tools/pot.sh"
  exit 1
fi
echo "ok: po/brikka.pot is current"
