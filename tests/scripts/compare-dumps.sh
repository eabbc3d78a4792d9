#!/usr/bin/env bash
# Compares `dump` and `dump --json` of two tamrel-rc builds over a folder of scripts (the corpus
# by default): the text dumps must be equal apart from the CodePages member, and the JSON dumps
# equal apart from CodePages and from texts the older build turned into U+FFFD, which must now
# hold one character each in their place.
#   tests/scripts/compare-dumps.sh OLD_TAMREL_RC NEW_TAMREL_RC [DIR]
set -euo pipefail
old=$1 new=$2 dir=${3:-$(dirname "$0")/../data/corpus}
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
differ=0 compared=0
for script in "$dir"/*.rc "$dir"/*.Rc; do
  [ -e "$script" ] || continue
  compared=$((compared + 1))
  "$old" dump -q "$script" >"$work/old.txt" 2>/dev/null || true
  "$new" dump -q "$script" >"$work/new.txt" 2>/dev/null || true
  if ! diff -q <(grep -av '^CodePages:\|^  - Line: \|^    CodePage: ' "$work/new.txt") "$work/old.txt" >/dev/null; then
    echo "text dump differs: $script"; differ=$((differ + 1))
  fi
  "$old" dump -q --json "$script" >"$work/old.json" 2>/dev/null || true
  "$new" dump -q --json "$script" >"$work/new.json" 2>/dev/null || true
  if ! python3 - "$work/old.json" "$work/new.json" <<'PY'
import json, sys
old, new = (json.load(open(p, encoding="utf-8")) for p in sys.argv[1:3])
new.pop("CodePages", None)
def same(a, b):
    if isinstance(a, dict): return list(a) == list(b) and all(same(a[k], b[k]) for k in a)
    if isinstance(a, list): return len(a) == len(b) and all(same(x, y) for x, y in zip(a, b))
    if isinstance(a, str) and a != b:
        return len(a) == len(b) and all(x == y or x == "\ufffd" for x, y in zip(a, b))
    return a == b
sys.exit(0 if same(old, new) else 1)
PY
  then
    echo "JSON dump differs: $script"; differ=$((differ + 1))
  fi
done
echo "scripts $compared, differing $differ"
[ "$differ" -eq 0 ]
