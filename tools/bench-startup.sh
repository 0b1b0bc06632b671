#!/usr/bin/env bash
# Start-up of the program against Wine's own notepad.exe, side by side in the demo prefix of
# `make run`, and the refresh a user waits for when coming back from another program. The program's
# starts are split by the marks it writes when BRAN_STARTUP_TRACE names a file (platform/StartupTrace):
# process and library loading, creating the main window, discovery, filling the lists, and what is
# left until the window is settled (showing, the first paint, waiting for input).
#   usage: tools/bench-startup.sh <build-folder>   (inside an X display; BENCH_RUNS runs, default 5)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
runs=${BENCH_RUNS:-5}
source tools/wine-env.sh "$build/demoprefix"
demo="$build/demo"
bash tools/demo-setup.sh "$demo" >/dev/null 2>&1
wineserver -w
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
wineserver -p >/dev/null 2>&1 </dev/null || true
wine wineboot >/dev/null 2>&1 </dev/null || true

folder=$(winepath -w "$demo")
program="$folder\\BranService.exe"
trace="$build/startup-trace.txt"
rm -f "$trace"
export BRAN_STARTUP_TRACE=$(winepath -w "$trace")
# One more run than asked: the first warms the disk cache and Wine's loader and is not counted.
wine "$build/startuptimer.exe" $((runs + 1)) 20 \
  "notepad.exe|$folder|notepad.exe" \
  "BranService.exe|$folder|\"$program\"|refresh" \
  "BranService.exe -rBrantel Boekhouden|$folder|\"$program\" \"-rBrantel Boekhouden\"" 2>/dev/null |
  tr -d '\r' | python3 -c '
import statistics, sys
trace_file = sys.argv[1]
starts, refreshes = {}, []
for line in sys.stdin:
    kind, rest = line.split(" ", 1)
    label, value = rest.rsplit(" ", 1)
    if kind == "start":
        starts.setdefault(label, []).append(float(value) if value not in ("timeout", "failed") else None)
    elif kind == "refresh":
        refreshes.append(float(value))
def span(values):
    return "%6.0f %6.0f %6.0f" % (min(values), statistics.median(values), max(values))
labels = list(starts)
base = labels[0]
print("start to a settled window, ms (%d runs, in turn)    min median    max    ratio to %s" % (len(starts[base]) - 1, base))
for label in labels:
    times = starts[label][1:]  # the first run only warms up
    if None in times:
        print("  %-40s did not settle in every run" % label)
        continue
    line = "  %-40s %s" % (label, span(times))
    if label != base:
        ratios = [t / b for t, b in zip(times, starts[base][1:]) if b]
        line += "    %.2f (runs %.2f-%.2f)" % (statistics.median(times) / statistics.median(starts[base][1:]),
                                               min(ratios), max(ratios))
    print(line)
if refreshes:
    print("refresh on coming back to the program, ms (%d times)  %s" % (len(refreshes), span(refreshes)))
# The program writes its marks run after run, its labels in turn; each run begins with "loaded".
runs = []
try:
    for line in open(trace_file):
        phase, ms = line.split()
        if phase == "loaded":
            runs.append({})
        if runs and phase not in runs[-1]:
            runs[-1][phase] = float(ms)
except OSError:
    pass
program_labels = labels[1:]
if runs and program_labels:
    phases = [("process and libraries", None, "loaded"), ("main window created", "loaded", "created"),
              ("discovery", "created", "discovered"), ("lists filled", "discovered", "filled"),
              ("shown, painted, idle", "filled", "settled")]
    print("where a start goes, ms (median of %d runs)      " % (len(starts[base]) - 1) +
          " ".join("%22s" % name for name, _, _ in phases))
    for n, label in enumerate(program_labels):
        own = runs[n::len(program_labels)][1:]
        for run, total in zip(own, starts[label][1:]):
            run["settled"] = total
        cells = []
        for name, begin, end in phases:
            values = [r[end] - (r[begin] if begin else 0) for r in own if end in r and (not begin or begin in r)]
            cells.append("%22.0f" % statistics.median(values) if values else "%22s" % "-")
        print("  %-44s%s" % (label, " ".join(cells)))
' "$trace"
