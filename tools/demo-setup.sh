#!/usr/bin/env bash
# Fills the demo prefix: the program in a folder of its own and a Wine virtual desktop, so that
# screenshots show title bars and frames.   usage: tools/demo-setup.sh <demo-folder>
set -euo pipefail
demo=$1
mkdir -p "$demo"
cp "$(dirname "$demo")/BranService.exe" "$demo/"
wine reg add 'HKCU\Software\Wine\Explorer' /v Desktop /d Default /f >/dev/null 2>&1
wine reg add 'HKCU\Software\Wine\Explorer\Desktops' /v Default /d 1024x768 /f >/dev/null 2>&1
