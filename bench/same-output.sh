#!/usr/bin/env bash
# Checks that two builds of tamrel-rc give byte-identical output and exit status on the same
# inputs: every corpus script, the bundled sample, generated scripts of several sizes and the
# load fuzzer's seed inputs (random and damaged scripts). Each command (print, print --encoding
# utf-8, count, count --words, dump, dump --json) is run with both builds; standard output and
# the exit status must match (standard error may name a different binary, so it is not compared).
#   bench/same-output.sh OLD_TAMREL_RC NEW_TAMREL_RC
# Keep a build of main from before a change (e.g. a git worktree) to compare against.
set -uo pipefail
old=$1 new=$2
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
for n in 100 1000 8000; do python3 "$root/bench/make_script.py" "$n" -o "$work/gen$n.rc"; done
inputs=("$root"/tests/data/corpus/*.rc "$root"/examples/sample.rc "$work"/gen*.rc "$root"/fuzz/corpus/load/*)
commands=("print" "print --encoding utf-8" "count" "count --words" "dump" "dump --json")
checked=0 differ=0
for f in "${inputs[@]}"; do
  for c in "${commands[@]}"; do
    # shellcheck disable=SC2086
    "$old" $c "$f" >"$work/old" 2>/dev/null; a=$?
    # shellcheck disable=SC2086
    "$new" $c "$f" >"$work/new" 2>/dev/null; b=$?
    checked=$((checked + 1))
    if [ $a -ne $b ] || ! cmp -s "$work/old" "$work/new"; then
      differ=$((differ + 1))
      echo "DIFFERS: $c $f (exit $a vs $b)"
    fi
  done
done
echo "same-output: $checked runs, $differ differ"
[ $differ -eq 0 ]
