#!/usr/bin/env bash
# make test: install, build, then every test under Wine and Xvfb. Exits non-zero when anything fails.
#   usage: tools/run-tests.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash tools/build.sh "$build"
source tools/wine-env.sh "$build/wineprefix"
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
cd "$build"
xvfb-run -a -s "-screen 0 1024x768x24" bash ../tools/wine-up.sh ctest --output-on-failure ${CTEST_ARGS:-}
