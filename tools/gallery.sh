#!/usr/bin/env bash
# Screenshots of the program's windows, with frames (a Wine virtual desktop under Xvfb).
#   usage: tools/gallery.sh [build-folder] [output-folder] [ClassName...]   (no names: every window)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
out=$(realpath -m "${2:-$build/gallery}")
shift $(( $# > 2 ? 2 : $# ))
bash tools/build.sh "$build" >/dev/null
source tools/wine-env.sh "$build/gallery-prefix"
mkdir -p "$out"
gallery=$(realpath "$build/gallery.exe")
export gallery out
xvfb-run -a -s "-screen 0 1024x768x24" bash -c '
  wine reg add "HKCU\\Software\\Wine\\Explorer" /v Desktop /d Default /f >/dev/null 2>&1
  wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops" /v Default /d 1024x768 /f >/dev/null 2>&1
  wineserver -k; wineserver -w
  wineserver -p
  if [ $# -eq 0 ]; then set -- $(wine "$gallery" --list | tr -d "\r"); fi
  status=0
  for name in "$@"; do
    if wine "$gallery" "$name" "Z:${out//\//\\}\\$name.png"; then echo "$out/$name.png"; else status=1; fi
  done
  wineserver -k
  exit $status' gallery "$@"
