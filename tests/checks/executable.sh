#!/usr/bin/env bash
# The program is one 32-bit Windows executable that needs nothing beyond Windows' own DLLs, and it
# carries the version information the About box shows.   usage: executable.sh <build-folder>
# Where the tests were built for 64-bit Windows (a machine that runs no 32-bit code), the program
# itself was built as well, in <build-folder>/program-i686: that is the one checked.
set -euo pipefail
exe="$1/BranService.exe"
[ -f "$1/program-i686/BranService.exe" ] && exe="$1/program-i686/BranService.exe"
fail() { echo "FAIL: $*"; exit 1; }

file "$exe" | grep -q 'PE32 executable (GUI) Intel 80386' || fail "not a 32-bit GUI program: $(file "$exe")"

allowed='^(kernel32|user32|gdi32|advapi32|shell32|shlwapi|comctl32|comdlg32|ole32|oleaut32|msvcrt|winmm|winspool\.drv|version|wininet|wsock32|ws2_32|msimg32|riched20|uxtheme)(\.dll)?$'
imports=$(i686-w64-mingw32-objdump -p "$exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$imports" ] || fail "no imports found"
for dll in $imports; do
  echo "$dll" | grep -Eq "$allowed" || fail "imports a DLL that Windows does not ship: $dll"
done

# The multimedia and internet libraries are bound when first used: a start does not load them.
for dll in winmm.dll wininet.dll; do
  if echo "$imports" | grep -qx "$dll"; then fail "imports $dll at start-up"; fi
done

# Version resource: read with a tool of its own, not ours.
python3 - "$exe" <<'PY' || fail "version information missing"
import sys
data = open(sys.argv[1], "rb").read()
for key in ("FileVersion", "ProductName", "CompanyName", "OriginalFilename"):
    if key.encode("utf-16-le") not in data:
        sys.exit(f"no {key}")
if "Bran-Service".encode("utf-16-le") not in data:
    sys.exit("no product name")
PY
# The manifest asks for common controls 6 and no execution level (keeps registry virtualization).
grep -aq 'Microsoft.Windows.Common-Controls' "$exe" || fail "no common-controls manifest"
if grep -aq 'requestedExecutionLevel' "$exe"; then fail "manifest must not request an execution level"; fi
# It declares the program DPI aware (system-wide), so Windows does not stretch it as a bitmap.
python3 - "$exe" <<'PY' || fail "manifest does not declare DPI awareness"
import re, sys, xml.etree.ElementTree as ET
data = open(sys.argv[1], "rb").read()
found = re.search(rb"<\?xml.*?</assembly>", data, re.S)
if not found:
    sys.exit("no manifest")
root = ET.fromstring(found.group(0))
aware = [e.text.strip().lower() for e in root.iter("{http://schemas.microsoft.com/SMI/2005/WindowsSettings}dpiAware")]
if aware != ["true"]:
    sys.exit(f"dpiAware: {aware}")
PY
echo "executable: PE32 GUI, system DLLs only, version information and manifest present"
