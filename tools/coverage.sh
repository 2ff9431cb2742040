#!/usr/bin/env bash
# Line coverage of src/ per folder from the whole test run, with gcovr. Builds a Debug build with
# --coverage in build-cov/ (after tools/setup.sh has installed the packages), runs every test
# there and prints covered/total lines for each folder of src/ and for src/ as a whole.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
build="$root/build-cov"
jobs="$(nproc 2>/dev/null || echo 2)"
cd "$root"
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Debug -DBRIKKA_BUILD_DATA=ON \
  -DCMAKE_CXX_FLAGS="--coverage" -DCMAKE_EXE_LINKER_FLAGS="--coverage" >/dev/null
cmake --build "$build" -j"$jobs" >/dev/null
find "$build" -name '*.gcda' -delete
(cd "$build" && ctest -j"$jobs" >/dev/null) || echo "some tests failed: the figures cover the run anyway" >&2
for folder in game ai app render lab net ""; do
  printf '%-8s' "src/$folder"
  gcovr -r . --object-directory "$build" -f "src/$folder" "$build" 2>/dev/null |
    awk '/^TOTAL/ {print $2, $3, $4}'
done
