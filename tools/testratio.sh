#!/usr/bin/env bash
# Prints the lines of tests against the lines of code they test: non-blank, non-comment lines of
# the .cpp, .h, .sh and .py files under tests/ against those under src/ and tools/.
#   tools/testratio.sh
set -euo pipefail
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"

# Comments are whole lines starting with // or # (the shell's #! line too), and /* ... */ blocks.
count() {
  find "$@" -type f \( -name '*.cpp' -o -name '*.h' -o -name '*.sh' -o -name '*.py' \) -print0 |
    xargs -0 -r awk '
      FNR == 1 { block = 0 }
      { line = $0; sub(/^[ \t]+/, "", line) }
      block { if (line ~ /\*\//) block = 0; next }
      line == "" { next }
      FILENAME ~ /\.(sh|py)$/ && line ~ /^#/ { next }
      FILENAME ~ /\.(cpp|h)$/ && line ~ /^\/\// { next }
      FILENAME ~ /\.(cpp|h)$/ && line ~ /^\/\*/ { if (line !~ /\*\//) block = 1; next }
      { lines++ }
      END { print lines + 0 }' | awk '{ total += $1 } END { print total + 0 }'
}

tests=$(count "$root/tests")
code=$(count "$root/src" "$root/tools")
echo "tests $tests"
echo "code $code"
awk -v t="$tests" -v c="$code" 'BEGIN { printf "ratio %.3f\n", (c > 0 ? t / c : 0) }'
