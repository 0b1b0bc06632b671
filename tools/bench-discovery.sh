#!/usr/bin/env bash
# Discovery at 10, 100 and 1,000 registered applications next to 50 legacy lines, in the test
# prefix's registry sandbox (tests/discoverybench).
#   usage: tools/bench-discovery.sh <build-folder>   (inside an X display)
set -euo pipefail
cd "$(dirname "$0")/.."
build=$(realpath "${1:-build}")
source tools/wine-env.sh "$build/wineprefix"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
cd "$build/tests"
BRAN_BENCH_FULL=1 bash ../../tools/wine-up.sh wine test_discoverybench.exe 2>/dev/null | tr -d '\r' | grep -v '^\['
