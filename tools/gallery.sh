#!/usr/bin/env bash
# Screenshots of the program's windows, with frames (a Wine virtual desktop under Xvfb).
#   usage: tools/gallery.sh [build-folder] [output-folder] [ClassName...]   (no names: every window)
# GALLERY_DPI=144 (or 120, 192) shows them at that many pixels per inch, as Windows does when the user
# scales the screen; `tools/gallery.sh build out` with GALLERY_DPI="96 144 192" gives one folder each.
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
base=$(realpath -m "${2:-$build/gallery}")
shift $(( $# > 2 ? 2 : $# ))
bash tools/build.sh "$build" >/dev/null
gallery=$(realpath "$build/gallery.exe")
dpis=${GALLERY_DPI:-96}
status=0
for dpi in $dpis; do
  # A prefix per density: windows keep their placement in the registry, in that density's pixels.
  prefix=$build/gallery-prefix
  [ "$dpi" = 96 ] || prefix=$build/gallery-prefix-$dpi
  source tools/wine-env.sh "$prefix"
  # One density: straight into the output folder; several: a subfolder per density.
  out=$base
  [ "$dpis" = "$dpi" ] || out=$base/$dpi
  mkdir -p "$out"
  export gallery out dpi
  xvfb-run -a -s "-screen 0 1280x1024x24" bash -c '
    wine reg add "HKCU\\Software\\Wine\\Explorer" /v Desktop /d Default /f >/dev/null 2>&1
    wine reg add "HKCU\\Software\\Wine\\Explorer\\Desktops" /v Default /d 1280x1024 /f >/dev/null 2>&1
    wine reg add "HKCU\\Control Panel\\Desktop" /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
    wineserver -k; wineserver -w
    wineserver -p
    if [ $# -eq 0 ]; then set -- $(wine "$gallery" --list | tr -d "\r"); fi
    status=0
    for name in "$@"; do
      if wine "$gallery" "$name" "Z:${out//\//\\}\\$name.png"; then echo "$out/$name.png"; else status=1; fi
    done
    wineserver -k
    exit $status' gallery "$@" || status=1
done
exit $status
