#!/usr/bin/env bash
# Installs what is missing, configures with the mingw-w64 toolchain and builds everything.
# Where this machine runs no 32-bit code (tools/target-arch.sh), everything is built for 64-bit
# Windows so that the tests can run, and the program is built once more as the 32-bit program it
# ships as, in <build-folder>/program-i686.
#   usage: tools/build.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
bash tools/install-deps.sh
arch=$(bash tools/target-arch.sh)
launcher=()
if command -v ccache >/dev/null 2>&1; then
  # Several checkouts of the tree share one compiler cache: paths are taken relative to the checkout.
  export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
  launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache -DCMAKE_C_COMPILER_LAUNCHER=ccache)
fi

# configure <folder> <i686|x86_64>
configure() {
  local folder=$1 toolchain="cmake/mingw-$2.cmake" made_for made_with
  # A cache made for another checkout (this one copied or moved) would build that checkout, and one
  # made with another toolchain cannot switch: start afresh.
  if [ -f "$folder/CMakeCache.txt" ]; then
    made_for=$(sed -n 's/^CMAKE_HOME_DIRECTORY:INTERNAL=//p' "$folder/CMakeCache.txt")
    made_with=$(sed -n 's/^CMAKE_TOOLCHAIN_FILE:[A-Z]*=//p' "$folder/CMakeCache.txt")
    if [ "$(realpath -m "$made_for")" != "$(pwd -P)" ] || [ "$(basename "$made_with")" != "$(basename "$toolchain")" ]; then
      echo "build.sh: $folder was configured for $made_for with $made_with; configuring it afresh"
      rm -rf "$folder/CMakeCache.txt" "$folder/CMakeFiles"
    fi
  fi
  if [ ! -f "$folder/CMakeCache.txt" ]; then
    cmake -S . -B "$folder" -DCMAKE_TOOLCHAIN_FILE="$toolchain" -DCMAKE_BUILD_TYPE=Release "${launcher[@]}" >/dev/null
  fi
}

configure "$build" "$arch"
cmake --build "$build" -j"$(nproc)"
if [ "$arch" != i686 ]; then
  configure "$build/program-i686" i686
  cmake --build "$build/program-i686" --target BranService -j"$(nproc)"
fi
