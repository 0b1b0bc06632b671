#!/usr/bin/env bash
# How long a helpdesk report takes to compose with every category ticked (bench/ComposeBenchmark.cpp),
# BENCH_RUNS times in the test prefix; each row as the fastest, middle and slowest run.
#   usage: tools/bench-compose.sh <build-folder>   (inside an X display)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
source tools/wine-env.sh "$build/wineprefix"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
cd "$build"
for _ in $(seq 1 "${BENCH_RUNS:-5}"); do
  bash ../tools/wine-up.sh wine bench_compose.exe 2>/dev/null
done | tr -d '\r' | python3 -c '
import statistics, sys
rows = {}
for line in sys.stdin:
    parts = line.split()
    if len(parts) < 2 or parts[0] == "collector":
        continue
    try:
        value = float(parts[1])
    except ValueError:
        continue
    rows.setdefault(parts[0], []).append(value)
print("report composition, ms (%d runs)         min median    max" % max(len(v) for v in rows.values()))
for name, values in rows.items():
    print("  %-36s %6.0f %6.0f %6.0f" % (name, min(values), statistics.median(values), max(values)))
'
