#!/usr/bin/env bash
# Installs what is missing, builds and runs every test; then builds the test suites and the
# loaders' fuzz programs once more, with clang, AddressSanitizer and UndefinedBehaviorSanitizer
# (one build serves both), runs the suites there too and fuzzes every loader for a short while
# (BRIKKA_FUZZ_SECONDS each, 20 by default). Non-zero on any failure. Each phase says its time.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"
phase_start=$SECONDS
phase_done() { echo "-- $1: $((SECONDS - phase_start)) s"; phase_start=$SECONDS; }

"$root/tools/setup.sh"
phase_done "set-up and build (build/)"

status=0
echo "== Tests (build/) =="
(cd "$root/build" && ctest --output-on-failure -j"$jobs") || status=1
phase_done "tests"

if ! command -v clang++ >/dev/null 2>&1; then
  echo "clang++ is missing (tools/setup.sh installs it): no sanitizer run, no fuzzing" >&2
  exit 1
fi
echo "== Tests with AddressSanitizer and UndefinedBehaviorSanitizer (build-check/) =="
CXX=clang++ cmake -S "$root" -B "$root/build-check" -DBRIKKA_SANITIZE=ON -DBRIKKA_FUZZ=ON \
  -DBRIKKA_BUILD_DATA=OFF
suites=$(cmake --build "$root/build-check" --target help | sed -n 's/^\.\.\. \([a-z]*_tests\)$/\1/p')
if [ -z "$suites" ]; then
  echo "no test suites found" >&2
  exit 1
fi
# shellcheck disable=SC2086
cmake --build "$root/build-check" -j"$jobs" --target $suites fuzzers
phase_done "sanitizer build (build-check/)"
(cd "$root/build-check" && ctest --output-on-failure -j"$jobs") || status=1
phase_done "tests under the sanitizers"

echo "== Fuzzing every loader for ${BRIKKA_FUZZ_SECONDS:-20} s with the same sanitizers =="
"$root/tests/fuzz/run.sh" "$root/build-check" "${BRIKKA_FUZZ_SECONDS:-20}" || status=1
phase_done "fuzzing"

if [ "$status" -ne 0 ]; then echo "Some tests failed." >&2; fi
exit "$status"
