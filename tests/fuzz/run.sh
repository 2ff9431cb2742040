#!/usr/bin/env bash
# Runs every loader's fuzz program for the given seconds, one after the other, starting from
# the shipped files and tests/fuzz/seeds. Usage: tests/fuzz/run.sh BUILD_DIR [SECONDS] [NAME...]
# Non-zero when any program finds a fault; its log and the input that caused it are kept.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "$1" && pwd)"
seconds="${2:-20}"
shift $(( $# >= 2 ? 2 : 1 ))
names=("$@")
[ ${#names[@]} -eq 0 ] && names=(pieces colours controls sensitivities highscore weights network replay message)

status=0
for name in "${names[@]}"; do
  corpus="$(mktemp -d)"
  case "$name" in
    pieces) cp "$root"/Storage/*BlockPieces.txt "$corpus/" ;;
    colours) cp "$root/Storage/colorPieces.txt" "$corpus/" ;;
    weights) cp "$root/Storage/BestFitnessParams.txt" "$corpus/" ;;
    *) cp "$here/seeds/$name"/* "$corpus/" ;;
  esac
  log="$build/fuzz_$name.log"
  (cd "$build" && "./fuzz_$name" -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
      -timeout=10 -print_final_stats=1 -artifact_prefix="$build/fuzz_$name-" "$corpus") \
      >"$log" 2>&1
  result=$?
  runs="$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)"
  if [ "$result" -eq 0 ]; then
    echo "fuzz_$name: ${runs:-?} runs in $seconds s, no fault"
  else
    echo "fuzz_$name: FAULT after ${runs:-?} runs (log: $log; input saved in $build)" >&2
    grep -E "ERROR|runtime error|SUMMARY|Test unit written" "$log" | head -20 >&2
    status=1
  fi
  rm -rf "$corpus"
done
exit "$status"
