#!/usr/bin/env bash
# Installs what is missing, configures with the mingw-w64 toolchain and builds everything.
#   usage: tools/build.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash tools/install-deps.sh
launcher=()
if command -v ccache >/dev/null 2>&1; then
  # Several checkouts of the tree share one compiler cache: paths are taken relative to the checkout.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi
if [ ! -f "$build/CMakeCache.txt" ]; then
  cmake -S . -B "$build" -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-i686.cmake -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
fi
cmake --build "$build" -j"$(nproc)"
