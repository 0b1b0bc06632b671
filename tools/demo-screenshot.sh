#!/usr/bin/env bash
# Inside Xvfb: starts the program, waits for its main window, takes a screenshot, ends the program;
# then once more with an application preselected ("-r" and its name).
#   usage: tools/demo-screenshot.sh <demo-folder> <png>
set -euo pipefail
demo=$1 shot=$2
wineserver -p >/dev/null 2>&1 </dev/null || true  # one may already run
wine wineboot >/dev/null 2>&1 </dev/null || true
cd "$demo"

shoot() {  # <png> [program arguments]
  local png=$1
  shift
  wine "$demo/BranService.exe" "$@" >/dev/null 2>&1 </dev/null &
  # Wait for the main window (inside Wine's virtual desktop window), then let the program draw.
  for _ in $(seq 1 60); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Bran-Service"' && break
    sleep 0.5
  done
  sleep 3
  import -window root "$png"
  wine taskkill /IM BranService.exe >/dev/null 2>&1 || true
  wait || true
}

shoot "$shot"
shoot "${shot%.png}-application.png" "-rBrantel Boekhouden"
wineserver -k >/dev/null 2>&1 || true
