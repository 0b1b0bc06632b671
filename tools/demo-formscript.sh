#!/usr/bin/env bash
# The maker's newsletter form script of the demo (tools/demo-formscript.py) and the demo prefix's
# Internet settings that send the program's requests for the maker's web server to it; addresses on
# 127.0.0.1 stay direct. What the script received is kept in <build>/demo-formscript/formscript.log.
#   usage: tools/demo-formscript.sh start <build-folder>   (inside the demo prefix's environment)
#          tools/demo-formscript.sh stop <build-folder>
set -euo pipefail
action=$1
build=$(realpath "$2")
folder="$build/demo-formscript"
pidfile="$folder/server.pid"

if [ "$action" = stop ]; then
  [ -f "$pidfile" ] && kill "$(cat "$pidfile")" 2>/dev/null || true
  rm -f "$pidfile"
  exit 0
fi

bash "$0" stop "$build"
mkdir -p "$folder"
rm -f "$folder/port"
python3 "$(dirname "$0")/demo-formscript.py" "$folder" &
echo $! > "$pidfile"
for _ in $(seq 50); do [ -s "$folder/port" ] && break; sleep 0.1; done
[ -s "$folder/port" ] || { echo "demo form script did not start" >&2; exit 1; }

settings='HKCU\Software\Microsoft\Windows\CurrentVersion\Internet Settings'
wine reg add "$settings" /v ProxyEnable /t REG_DWORD /d 1 /f >/dev/null 2>&1
wine reg add "$settings" /v ProxyServer /d "127.0.0.1:$(cat "$folder/port")" /f >/dev/null 2>&1
wine reg add "$settings" /v ProxyOverride /d '127.0.0.1;localhost;<local>' /f >/dev/null 2>&1
# The program's own version and language, which every form request names.
wine reg add 'HKLM\Software\Brantel\Shared\Service' /v CurrentVersion /d 3.0 /f >/dev/null 2>&1
wine reg add 'HKLM\Software\Brantel\Shared\Service\3.0' /v CurrentLanguage /d NL /f >/dev/null 2>&1
