#!/usr/bin/env bash
# make bench: builds, then runs every benchmark tools/bench-*.sh in name order, one after the other,
# inside one X display (Xvfb when there is none). A benchmark reports figures; it never fails the
# build: a benchmark that ends badly is named in the output, and this script still exits 0.
#   usage: tools/bench.sh [build-folder]          BENCH_RUNS=<n> sets the repetitions (default 5)
#
# Plugging in a benchmark: add tools/bench-<name>.sh. It is run as `bash tools/bench-<name>.sh
# <absolute build folder>` from the top of the tree, with DISPLAY set and BENCH_RUNS in the
# environment; it prints its own figures (say what they are, in what unit, and the spread of the
# repetitions: this machine is shared, so one figure alone means little), and when it uses Wine it
# sources tools/wine-env.sh with a prefix inside the build folder and ends its wineserver.
set -uo pipefail
cd "$(dirname "$0")/.."
build=$(realpath -m "${1:-build}")

if [ -z "${BRAN_BENCH_INSIDE:-}" ]; then
  bash tools/build.sh "$build" || exit $?
  if [ -z "${DISPLAY:-}" ]; then
    BRAN_BENCH_INSIDE=1 xvfb-run -a -s "-screen 0 1024x768x24" bash "$0" "$build"
    exit 0
  fi
fi

export BENCH_RUNS=${BENCH_RUNS:-5}
echo "Benchmarks, $(date -u '+%Y-%m-%d %H:%M UTC'), load average $(cut -d' ' -f1-3 /proc/loadavg)"
for bench in tools/bench-*.sh; do
  [ -f "$bench" ] || continue
  echo
  echo "== $(basename "$bench" .sh), load average before: $(cut -d' ' -f1-3 /proc/loadavg)"
  bash "$bench" "$build" </dev/null
  status=$?
  [ "$status" -eq 0 ] || echo "   ($(basename "$bench") ended with status $status; its figures may be incomplete)"
  echo "   load average after: $(cut -d' ' -f1-3 /proc/loadavg)"
done
exit 0
