#!/usr/bin/env bash
# Every window of the gallery at 144 and 192 pixels per inch (the test's own run is at 96): no text
# cut off or covered once the design is scaled to the screen, and no shortcut letter given to two
# controls of a window.   usage: layout_dpi.sh <build-folder>
set -euo pipefail
build=$(realpath "$1")
source "$(dirname "$0")/support/at-dpi.sh"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
for ppi in 144 192; do
  at_dpi "$ppi" wine "$build/tests/test_layout.exe" --gtest_output="xml:$(winepath -w "$out/$ppi.xml")" \
    >"$out/$ppi.log" 2>&1 || { echo "FAIL at $ppi pixels per inch:"; grep -a -B1 -A3 'Failure' "$out/$ppi.log"; exit 1; }
  grep -q "name=\"ppi\" value=\"$ppi\"" "$out/$ppi.xml" || { echo "FAIL: the test did not run at $ppi pixels per inch"; exit 1; }
  echo "every window fits its text and has its shortcut letters once at $ppi pixels per inch"
done
