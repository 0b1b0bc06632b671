#!/usr/bin/env bash
# Runs a command with one wineserver kept alive and Wine's own background processes already started,
# detached from our output (started later by a test, they would hold its output open and ctest would
# wait for them until its time-out). Call it where WINEPREFIX and the X display are set.
set -euo pipefail
wineserver -p >/dev/null 2>&1 </dev/null || true  # one may already run
wine wineboot >/dev/null 2>&1 </dev/null || true
# The layout test shows every window in turn, the download tests a window per transfer; without a
# window manager X never answers the hiding of a managed window and Wine waits two seconds for each.
# Their windows need no management.
for test in test_layout test_download test_onlineupdate; do
  wine reg add "HKCU\\Software\\Wine\\AppDefaults\\$test.exe\\X11 Driver" /v Managed /d N /f >/dev/null 2>&1 || true
done
exec "$@"
