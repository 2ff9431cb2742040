#!/usr/bin/env bash
# run.sh over stand-in fuzz programs, two at once: all clean is status 0; one that faults makes
# the status non-zero and its FAULT line is printed, whichever of the others ran beside it.
#   tests/fuzz/reports.sh SOURCE_DIR
set -uo pipefail
build="$(mktemp -d)"
trap 'rm -rf "$build"' EXIT
for name in pieces message replay; do
  printf '#!/bin/sh\necho "stat::number_of_executed_units: 5"\n' >"$build/fuzz_$name"
  chmod +x "$build/fuzz_$name"
done
failed=0
BRIKKA_FUZZ_JOBS=2 bash "$1/tests/fuzz/run.sh" "$build" 1 pieces message replay >/dev/null 2>&1 ||
  { echo "FAIL: clean programs gave a non-zero status"; failed=1; }
printf '#!/bin/sh\necho "==1==ERROR: stand-in fault"\nexit 1\n' >"$build/fuzz_message"
out="$(BRIKKA_FUZZ_JOBS=2 bash "$1/tests/fuzz/run.sh" "$build" 1 pieces message replay 2>&1)" &&
  { echo "FAIL: a faulting program gave status 0"; failed=1; }
[[ "$out" == *"fuzz_message: FAULT"* ]] || { echo "FAIL: no FAULT line: $out"; failed=1; }
exit "$failed"
