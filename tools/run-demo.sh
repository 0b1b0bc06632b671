#!/usr/bin/env bash
# make run: builds everything (the program, its tests, the gallery and the benchmarks) and starts
# the program in a demo Wine prefix of its own.
# Without a display it runs under Xvfb, saves a screenshot to <build>/screenshot.png and ends.
#   usage: tools/run-demo.sh [build-folder]
set -euo pipefail
cd "$(dirname "$0")/.."
root=$(pwd)
build=${1:-build}
bash tools/build.sh "$build"
build=$(realpath "$build")
source tools/wine-env.sh "$build/demoprefix"
# Ports nobody else listens on, so that two demos can run side by side; the prefix is told them.
free_port() { python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])'; }
DEMO_WEB_PORT=$(free_port)
DEMO_SMTP_PORT=$(free_port)
while [ "$DEMO_SMTP_PORT" = "$DEMO_WEB_PORT" ]; do DEMO_SMTP_PORT=$(free_port); done
export DEMO_WEB_PORT DEMO_SMTP_PORT
demo="$build/demo"
bash tools/demo-setup.sh "$demo"
# The maker's servers of the demo are stopped when it ends.
smtp=""
stop_servers() {
  bash "$root/tools/demo-web.sh" stop "$build"
  bash "$root/tools/demo-formscript.sh" stop "$build"
  [ -z "$smtp" ] || kill "$smtp" 2>/dev/null || true
}
trap stop_servers EXIT
# The maker's newsletter form script, which the prefix's Internet settings lead the maker's address to.
bash tools/demo-formscript.sh start "$build"
# Let the server that set up the prefix end: the program must start inside the X display.
wineserver -w
# The maker's web server for online update.
bash tools/demo-web.sh start "$build"
# The mail server that the demo's mail server setting names (demo-setup.sh); it keeps what the
# program e-mails in <build>/demo-mail.
python3 tools/demo-smtp.py "$build/demo-mail" "$DEMO_SMTP_PORT" &
smtp=$!

if [ -n "${DISPLAY:-}" ]; then
  cd "$demo"
  wine "$demo/BranService.exe"
  exit
fi

shot="$build/screenshot.png"
trap 'wineserver -k >/dev/null 2>&1 || true; stop_servers' EXIT
xvfb-run -a -s "-screen 0 1024x768x24" bash "$root/tools/demo-screenshot.sh" "$demo" "$shot"
echo "Screenshots of the main window: $shot and ${shot%.png}-application.png"
