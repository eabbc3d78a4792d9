#!/usr/bin/env bash
# Prints the size of the test suite against the product code, in non-blank, non-comment lines
# of the committed C++ and Python sources. Tests are everything under tests/ and python/tests/;
# product code is everything else except bench/ and fuzz/. The suite is meant to stay at or
# below 35% of the product code. Usage: tests/count_lines.sh [--verbose]
set -euo pipefail
cd "$(dirname "$0")/.."

# Counts the lines of the given files that are neither blank nor comment: // and /* */ in
# C++, # lines and docstring-only lines are code in Python except for # comments.
count() {
  [ $# -eq 0 ] && { echo 0; return; }
  awk '
    FNR == 1 { inblock = 0; py = FILENAME ~ /\.pyi?$/ }
    {
      line = $0
      sub(/^[ \t]+/, "", line); sub(/[ \t\r]+$/, "", line)
      if (line == "") next
      if (py) { if (line !~ /^#/) n++; next }
      if (inblock) {
        if (index(line, "*/") == 0) next
        line = substr(line, index(line, "*/") + 2); inblock = 0
        sub(/^[ \t]+/, "", line)
        if (line == "") next
      }
      if (line ~ /^\/\//) next
      if (line ~ /^\/\*/) {
        if (index(line, "*/") == 0) { inblock = 1; next }
        rest = substr(line, index(line, "*/") + 2); sub(/^[ \t]+/, "", rest)
        if (rest == "" || rest ~ /^\/\//) next
      }
      n++
    }
    END { print n + 0 }' "$@"
}

mapfile -t sources < <(git ls-files -- '*.cpp' '*.h' '*.hpp' '*.cc' '*.py' '*.pyi')
tests=() product=()
for f in "${sources[@]}"; do
  case "$f" in
    tests/*|python/tests/*) tests+=("$f") ;;
    bench/*|fuzz/*) ;;
    *) product+=("$f") ;;
  esac
done

t=$(count "${tests[@]}")
p=$(count "${product[@]}")
if [ "${1:-}" = --verbose ]; then
  for f in "${tests[@]}"; do printf '%6d %s\n' "$(count "$f")" "$f"; done | sort -rn
fi
awk -v t="$t" -v p="$p" 'BEGIN { printf "tests %d lines, product %d lines: %.1f%%\n", t, p, 100 * t / p }'
