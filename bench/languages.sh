#!/usr/bin/env bash
# Times one `merge --po-dir` run over 20 catalogs of the generated 32,000-line script against 20
# single `merge --language` runs, whole processes, 3 rounds each after a warm-up: medians of
# wall-clock and processor time (user + system, which a busy machine disturbs less). The
# catalogs translate every unit (msgen, then msgfilter puts "Ü " before each text) and carry
# 20 tags of code page 1252. Builds nothing; needs gettext's msgen and msgfilter.
#   bench/languages.sh TAMREL_RC [JOBS]
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ] || [ ! -x "$1" ]; then
  echo "usage: $0 TAMREL_RC [JOBS]" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
python3 "$root/bench/make_script.py" -o "$work/app.rc"
"$1" extract -q "$work/app.rc" -o "$work/app.pot"
msgen -o "$work/en.po" "$work/app.pot"
msgfilter -i "$work/en.po" -o "$work/translated.po" sed -e 's/^/Ü /'
mkdir "$work/po" "$work/out"
for tag in de-DE de-AT de-CH en-GB en-AU en-CA fr-FR fr-CA fr-BE fr-CH it-IT es-ES es-MX nl-NL nl-BE pt-BR pt-PT \
           sv-SE da-DK fi-FI; do
  cp "$work/translated.po" "$work/po/$tag.po"
done
exec python3 - "$1" "$work" "${2:-}" <<'PY'
import os, resource, statistics, subprocess, sys, time

tamrel, work, jobs = sys.argv[1:4]
tags = sorted(name[:-3] for name in os.listdir(os.path.join(work, "po")))
script = os.path.join(work, "app.rc")

def timed(commands):
    before = resource.getrusage(resource.RUSAGE_CHILDREN)
    start = time.monotonic()
    for command in commands:
        subprocess.run(command, check=True, stdout=subprocess.DEVNULL)
    after = resource.getrusage(resource.RUSAGE_CHILDREN)
    return time.monotonic() - start, (after.ru_utime - before.ru_utime) + (after.ru_stime - before.ru_stime)

one = [[tamrel, "merge", "-q", script, "--po-dir", os.path.join(work, "po"),
        "-o", os.path.join(work, "out", "app.{lang}.rc")] + (["-j", jobs] if jobs else [])]
single = [[tamrel, "merge", "-q", script, os.path.join(work, "po", tag + ".po"), "--language", tag,
           "-o", os.path.join(work, "out", "single." + tag + ".rc")] for tag in tags]
runs = {"one --po-dir run": [], "20 single merges": []}
for round in range(4):
    for name, commands in (("one --po-dir run", one), ("20 single merges", single)):
        result = timed(commands)
        if round > 0:
            runs[name].append(result)
for tag in tags:
    with open(os.path.join(work, "out", "app." + tag + ".rc"), "rb") as a, \
         open(os.path.join(work, "out", "single." + tag + ".rc"), "rb") as b:
        assert a.read() == b.read(), tag
lines = sum(1 for _ in open(script, "rb"))
print("%d lines, %d languages, %s cores" % (lines, len(tags), os.cpu_count()))
print("| run | wall (median) | CPU (median) |")
print("|---|---|---|")
for name, results in runs.items():
    print("| %s | %.2f s | %.2f s |" % (name, statistics.median(r[0] for r in results),
                                       statistics.median(r[1] for r in results)))
PY
