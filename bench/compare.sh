#!/usr/bin/env bash
# Compares a build of tamrel-rc with a resource compiler on one script, whole process: `tamrel-rc
# print`, `tamrel-rc load` and `llvm-rc -no-preprocess` run alternating for 15 rounds (after one
# warm-up round), with the medians and minimums of each, its peak resident memory and the
# ratios to the compiler, in wall-clock time and in processor time (which a busy machine
# disturbs less); then the instructions each executes, counted by valgrind's callgrind (stable
# on a busy machine). `cat` shows the cost of reading the file at all. Builds nothing. The
# output is a Markdown table.
#   bench/compare.sh TAMREL_RC [SCRIPT]
# Without SCRIPT, the 32,000-line script of bench/make_script.py is generated into a scratch
# directory. llvm-rc comes with Debian's llvm package, valgrind with valgrind and /usr/bin/time
# with time; when one is missing its part is skipped with a note.
set -euo pipefail
if [ $# -lt 1 ] || [ $# -gt 2 ] || [ ! -x "$1" ]; then
  echo "usage: $0 TAMREL_RC [SCRIPT]" >&2
  exit 2
fi
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
script=${2:-}
if [ -z "$script" ]; then
  script=$work/generated.rc
  python3 "$root/bench/make_script.py" -o "$script"
fi
exec python3 - "$1" "$script" "$work" <<'EOF'
import os, shutil, statistics, subprocess, sys, time

tamrel, script, work = sys.argv[1:4]
ROUNDS = 15

def find_llvm_rc():
    found = shutil.which("llvm-rc")
    if found:
        return found
    for version in range(30, 10, -1):
        for candidate in (shutil.which("llvm-rc-%d" % version), "/usr/lib/llvm-%d/bin/llvm-rc" % version):
            if candidate and os.access(candidate, os.X_OK):
                return candidate
    return None

llvm_rc = find_llvm_rc()
commands = [("tamrel-rc print", [tamrel, "print", "-q", script]),
            ("tamrel-rc load", [tamrel, "load", "-q", script])]
if llvm_rc:
    commands.append(("llvm-rc -no-preprocess", [llvm_rc, "-no-preprocess", "-fo", os.path.join(work, "out.res"), "--", script]))
commands.append(("cat", ["cat", script]))

def run(argv):
    """Wall-clock and processor (user and system) seconds of one run; its output is discarded."""
    null = os.open(os.devnull, os.O_WRONLY)
    start = time.perf_counter()
    pid = os.posix_spawnp(argv[0], argv, os.environ,
                          file_actions=[(os.POSIX_SPAWN_DUP2, null, 1), (os.POSIX_SPAWN_DUP2, null, 2)])
    _, status, usage = os.wait4(pid, 0)
    elapsed = time.perf_counter() - start
    os.close(null)
    if os.waitstatus_to_exitcode(status) != 0:
        sys.exit("failed: %s (exit status %d)" % (" ".join(argv), os.waitstatus_to_exitcode(status)))
    return elapsed, usage.ru_utime + usage.ru_stime

def peak_rss(argv):
    """Peak resident memory in KiB, from /usr/bin/time: a child of this interpreter would count
    the interpreter's own memory, which it carries until exec."""
    if not os.access("/usr/bin/time", os.X_OK):
        return None
    out = os.path.join(work, "rss")
    subprocess.run(["/usr/bin/time", "-f", "%M", "-o", out] + argv, stdout=subprocess.DEVNULL,
                   stderr=subprocess.DEVNULL, check=True)
    with open(out) as f:
        return int(f.read().split()[-1])

for _, argv in commands:  # warm-up: file cache and binaries in memory
    run(argv)
times = {name: [] for name, _ in commands}
cpu = {name: [] for name, _ in commands}
for _ in range(ROUNDS):
    for name, argv in commands:
        elapsed, processor = run(argv)
        times[name].append(elapsed)
        cpu[name].append(processor)
rss = {name: peak_rss(argv) for name, argv in commands}

def instructions(argv):
    out = os.path.join(work, "callgrind.out")
    result = subprocess.run(["valgrind", "--tool=callgrind", "--callgrind-out-file=" + out] + argv,
                            stdout=subprocess.DEVNULL, stderr=subprocess.PIPE, text=True)
    for line in result.stderr.splitlines():
        if "Collected :" in line:
            return int(line.split(":")[-1])
    return None

counted = {}
if shutil.which("valgrind"):
    for name, argv in commands:
        counted[name] = instructions(argv)

with open(script, "rb") as f:
    data = f.read()
lines = data.count(b"\n")
print("Script: %s (%d lines, %.1f MB); %d rounds alternating, %d cores.\n"
      % (os.path.basename(script), lines, len(data) / 1e6, ROUNDS, os.cpu_count()))
compiler = "llvm-rc -no-preprocess"
print("| command | median ms | min ms | CPU ms (median) | peak RSS MB | M instructions "
      "| compiler's median ÷ this | the same in CPU time |")
print("|---|---:|---:|---:|---:|---:|---:|---:|")
def ratio(samples, name):
    if compiler not in samples:
        return "–"
    return "%.2f×" % (statistics.median(samples[compiler]) / max(statistics.median(samples[name]), 1e-6))
for name, _ in commands:
    median = statistics.median(times[name])
    count = "%.1f" % (counted[name] / 1e6) if counted.get(name) else "–"
    memory = "%.1f" % (rss[name] / 1024) if rss[name] else "–"
    print("| `%s` | %.1f | %.1f | %.1f | %s | %s | %s | %s |"
          % (name, median * 1e3, min(times[name]) * 1e3, statistics.median(cpu[name]) * 1e3, memory, count,
             ratio(times, name), ratio(cpu, name)))
notes = []
if not llvm_rc:
    notes.append("llvm-rc not found (Debian package llvm): the compiler was skipped.")
if not os.access("/usr/bin/time", os.X_OK):
    notes.append("/usr/bin/time not found (Debian package time): no peak memory.")
if not shutil.which("valgrind"):
    notes.append("valgrind not found (Debian package valgrind): no instruction counts.")
if notes:
    print()
    for note in notes:
        print("Note: " + note)
EOF
