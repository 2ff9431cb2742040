#!/usr/bin/env bash
# Installs what is missing, builds and runs every test; then builds the test suites with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs them again; last, fuzzes every file
# loader for a short while (BRIKKA_FUZZ_SECONDS each, 20 by default). Non-zero on any failure.
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)"
jobs="$(nproc 2>/dev/null || echo 2)"
"$root/tools/setup.sh"

status=0
echo "== Tests (build/) =="
(cd "$root/build" && ctest --output-on-failure -j"$jobs") || status=1

echo "== Tests with AddressSanitizer and UndefinedBehaviorSanitizer (build-asan/) =="
cmake -S "$root" -B "$root/build-asan" -DBRIKKA_SANITIZE=ON -DBRIKKA_BUILD_DATA=OFF
suites=$(cmake --build "$root/build-asan" --target help | sed -n 's/^\.\.\. \([a-z]*_tests\)$/\1/p')
if [ -z "$suites" ]; then
  echo "no test suites found" >&2
  exit 1
fi
# shellcheck disable=SC2086
cmake --build "$root/build-asan" -j"$jobs" --target $suites
(cd "$root/build-asan" && ctest --output-on-failure -j"$jobs") || status=1

echo "== Fuzzing every loader for ${BRIKKA_FUZZ_SECONDS:-20} s with the same sanitizers (build-fuzz/) =="
if command -v clang++ >/dev/null 2>&1; then
  CXX=clang++ cmake -S "$root" -B "$root/build-fuzz" -DBRIKKA_FUZZ=ON -DBRIKKA_BUILD_DATA=OFF
  cmake --build "$root/build-fuzz" -j"$jobs" --target fuzzers
  "$root/tests/fuzz/run.sh" "$root/build-fuzz" "${BRIKKA_FUZZ_SECONDS:-20}" || status=1
else
  echo "clang++ is missing (tools/setup.sh installs it): the loaders were not fuzzed" >&2
  status=1
fi

if [ "$status" -ne 0 ]; then echo "Some tests failed." >&2; fi
exit "$status"
