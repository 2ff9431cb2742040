#!/usr/bin/env bash
# Runs every loader's fuzz program for the given seconds, as many at once as there are cores
# (BRIKKA_FUZZ_JOBS to choose), starting from the shipped files and tests/fuzz/seeds. Each
# program gets its full time whatever runs beside it. Usage:
#   tests/fuzz/run.sh BUILD_DIR [SECONDS] [NAME...]
# Non-zero when any program finds a fault; its log and the input that caused it are kept.
set -uo pipefail
here="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
root="$(cd "$here/../.." && pwd)"
build="$(cd "$1" && pwd)"
seconds="${2:-20}"
shift $(( $# >= 2 ? 2 : 1 ))
names=("$@")
[ ${#names[@]} -eq 0 ] && names=(pieces colours controls sensitivities highscore weights network replay message)

jobs="${BRIKKA_FUZZ_JOBS:-$(nproc 2>/dev/null || echo 1)}"

# One program's run; its line of result goes to fuzz_NAME.result, printed in order at the end.
fuzz() {
  local name=$1 corpus log result runs
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
    echo "fuzz_$name: ${runs:-?} runs in $seconds s, no fault" >"$build/fuzz_$name.result"
  else
    {
      echo "fuzz_$name: FAULT after ${runs:-?} runs (log: $log; input saved in $build)"
      grep -E "ERROR|runtime error|SUMMARY|Test unit written" "$log" | head -20
    } >"$build/fuzz_$name.result"
  fi
  rm -rf "$corpus"
  return "$result"
}

status=0
running=0
for name in "${names[@]}"; do
  if [ "$running" -ge "$jobs" ]; then
    wait -n || status=1
    running=$((running - 1))
  fi
  fuzz "$name" &
  running=$((running + 1))
done
while [ "$running" -gt 0 ]; do
  wait -n || status=1
  running=$((running - 1))
done
for name in "${names[@]}"; do
  if grep -q "FAULT" "$build/fuzz_$name.result"; then
    cat "$build/fuzz_$name.result" >&2
  else
    cat "$build/fuzz_$name.result"
  fi
done
exit "$status"
