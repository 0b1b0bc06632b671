#!/usr/bin/env bash
# The main window at 120 pixels per inch: its design is scaled once, and a stored placement (already
# in the screen's pixels) keeps its size from run to run instead of growing by a quarter each time.
# Runs the placement tests of test_mainform in the build's prefix with the larger setting, and puts
# the setting back afterwards.   usage: main_window_dpi.sh <build-folder>
set -euo pipefail
build=$(realpath "$1")
source "$(dirname "$0")/support/at-dpi.sh"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
at_dpi 120 wine "$build/tests/test_mainform.exe" --gtest_filter='MainForm.AStoredPlacement*:MainForm.StoredPlacement*' \
  --gtest_output="xml:$(winepath -w "$out/result.xml")" >"$out/run.log" 2>&1 || { cat "$out/run.log"; exit 1; }
grep -q 'name="ppi" value="120"' "$out/result.xml" || { echo "FAIL: the tests did not run at 120 pixels per inch"; cat "$out/result.xml"; exit 1; }
grep -q 'tests="2"' "$out/result.xml" || { echo "FAIL: expected the two placement tests"; exit 1; }
echo "placement kept at 120 pixels per inch"
