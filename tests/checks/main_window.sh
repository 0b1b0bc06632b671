#!/usr/bin/env bash
# The real program, end to end: started under Wine with an application in the registry and "-r"
# selecting it, its window "Bran-Service" appears; closed as a user closes it, it has saved its
# placement for the next start.   usage: main_window.sh <build-folder>
set -euo pipefail
build=$(realpath "$1")
work=$(mktemp -d)
appkey='HKLM\Software\Brantel\E2ETest'
placement='HKCU\Software\Brantel\Shared\Service\MainForm'
cleanup() {
  wine taskkill /F /IM BranService.exe >/dev/null 2>&1 || true
  wine reg delete "$appkey" /f >/dev/null 2>&1 || true
  wine reg delete "$placement" /f >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap cleanup EXIT
fail() { echo "FAIL: $*"; exit 1; }

wine reg delete "$placement" /f >/dev/null 2>&1 || true
wine reg add "$appkey" /v CurrentVersion /d 1 /f >/dev/null
wine reg add "$appkey\\1" /v CurrentLanguage /d NL /f >/dev/null
wine reg add "$appkey\\1\\NL" /ve /d "Proefprogramma" /f >/dev/null
wine reg add "$appkey\\1\\NL" /v ReleaseVersion /d "1.0" /f >/dev/null

cp "$build/BranService.exe" "$work/"
(cd "$work" && wine "$work/BranService.exe" -rProefprogramma >"$work/run.log" 2>&1 &)
for _ in $(seq 1 120); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Bran-Service"' && break
  sleep 0.5
done
xwininfo -root -tree | grep -q '"Bran-Service"' || fail "no window \"Bran-Service\" appeared"
sleep 2
# Without /F the task is asked to close its windows, as the close box would.
wine taskkill /IM BranService.exe >/dev/null 2>&1 || fail "could not ask the program to close"
for _ in $(seq 1 60); do
  xwininfo -root -tree 2>/dev/null | grep -q '"Bran-Service"' || break
  sleep 0.5
done
xwininfo -root -tree | grep -q '"Bran-Service"' && fail "the window did not close"

saved=$(wine reg query "$placement" 2>/dev/null | tr -d '\r')
for value in "Maximized *REG_DWORD *0x0" "StatusBar *REG_DWORD *0x1" "ListView *REG_DWORD *0x0" "Left *REG_BINARY" \
             "Top *REG_BINARY" "Width *REG_BINARY" "Height *REG_BINARY"; do
  grep -Eq "$value" <<<"$saved" || fail "placement lacks $value: $saved"
done
echo "main window opened, closed and saved its placement"
