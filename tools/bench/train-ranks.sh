#!/usr/bin/env bash
# Training steps a second of `brikka-lab train` with the training screen's settings, on one rank
# and on two, alternated so both see the same load; prints each run, the best of each and their
# ratio, and the load before and after. Unbound ranks can move away from a core that something
# else keeps busy.
# Usage: tools/bench/train-ranks.sh [brikka-lab] [generations] [rounds]
set -euo pipefail
lab="${1:-build/brikka-lab}"
generations="${2:-1000}"
rounds="${3:-3}"
export OMPI_ALLOW_RUN_AS_ROOT=1 OMPI_ALLOW_RUN_AS_ROOT_CONFIRM=1
echo "load before: $(cut -d' ' -f1-3 /proc/loadavg)"
best() { sort -n | tail -1; }
one="" two=""
for round in $(seq "$rounds"); do
  for ranks in 1 2; do
    line="$(mpirun --bind-to none --oversubscribe -n "$ranks" "$lab" train --generations "$generations" 2>/dev/null)"
    echo "$line"
    rate="$(sed -n 's/.* steps\/s \([0-9]*\).*/\1/p' <<<"$line")"
    if [ "$ranks" = 1 ]; then one+="$rate"$'\n'; else two+="$rate"$'\n'; fi
  done
done
oneBest="$(best <<<"$one")"
twoBest="$(best <<<"$two")"
echo "load after: $(cut -d' ' -f1-3 /proc/loadavg)"
echo "best of $rounds: one rank $oneBest steps a second, two ranks $twoBest," \
  "ratio $(awk -v a="$twoBest" -v b="$oneBest" 'BEGIN { printf "%.2f", a / b }')"
