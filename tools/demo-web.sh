#!/usr/bin/env bash
# The maker's web server of the demo, on 127.0.0.1: the update index that the demo registry's
# "UpdateIni" names and the small setups it offers, so that online update finds, downloads and
# lists an update.
#   usage: tools/demo-web.sh start <build-folder>   (inside the demo prefix's environment)
#          tools/demo-web.sh stop <build-folder>
# It listens on $DEMO_WEB_PORT, 8717 unless set (the port the demo registry's "UpdateIni" names).
set -euo pipefail
action=$1
build=$(realpath "$2")
web="$build/demo-web"
port=${DEMO_WEB_PORT:-8717}
pidfile="$web/server.pid"

if [ "$action" = stop ]; then
  [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null || true
  rm -f "$pidfile"
  exit 0
fi

mkdir -p "$web/boekhouden" "$web/factureren"
# A real, small Windows program stands in for each setup.
setup="$WINEPREFIX/drive_c/windows/system32/winver.exe"
cp "$setup" "$web/boekhouden/setup.exe"
cp "$setup" "$web/factureren/demo.exe"
cp "$setup" "$web/factureren/setup.exe"
printf '<html><body><h1>Brantel Factureren 3.2</h1><p>Nieuw: facturen per e-mail.</p></body></html>\n' \
  > "$web/factureren/nieuw.html"
kb=$(( ($(stat -c %s "$setup") + 1023) / 1024 ))
# The setups' digests, which the program checks before it keeps a download.
digest=$(sha256sum "$setup" | cut -d' ' -f1)
url="http://127.0.0.1:$port"
cat > "$web/iupdate_nl.dat" <<INDEX
[Brantel Boekhouden]
ReleaseVersion=5.1.0
ReleaseDate=20261201
UpdateSize=$kb
UpdateInfo=
UpdateExe=$url/boekhouden/setup.exe
UpdateSHA256=$digest

[Brantel Factureren]
ReleaseVersion=3.2
ReleaseDate=20261511
UpdateSize=$kb
UpdateInfo=$url/factureren/nieuw.html
UpdateExe=$url/factureren/setup.exe
UpgradeExe=$url/factureren/demo.exe
UpgradeSize=$kb
UpgradeSHA256=$digest

[Bran-Service]
ReleaseVersion=3.0.0.1
ReleaseDate=20261201
UpdateSize=$kb
UpdateExe=$url/bran-service/setup.exe
INDEX
sed -i 's/$/\r/' "$web/iupdate_nl.dat"

bash "$0" stop "$build"
python3 -m http.server --bind 127.0.0.1 --directory "$web" "$port" >"$web/server.log" 2>&1 &
echo $! > "$pidfile"
# Ready when it answers.
for _ in $(seq 1 50); do
  python3 -c "import urllib.request; urllib.request.urlopen('$url/iupdate_nl.dat', timeout=1)" 2>/dev/null && exit 0
  sleep 0.1
done
echo "demo web server did not start (see $web/server.log)" >&2
exit 1
