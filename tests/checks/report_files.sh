#!/usr/bin/env bash
# A composed helpdesk report read by tools we did not write: CASE.INI by Python's configparser,
# CASE.RTF by unrtf. The technical sections must show what the machine itself says, asked here of
# other sources: the Wine prefix's registry and files, the X display, the Linux file system.
#   usage: report_files.sh <build-folder>
set -euo pipefail
build=$(realpath "$1")
out=$(mktemp -d)
# A network printer as today's Windows names one, in the prefix's spooler for the time of the check.
printer='\\server\Laser {kantoor}'
printer_key='HKLM\System\CurrentControlSet\Control\Print\Printers\Laser kantoor'
trap 'rm -rf "$out"; wine reg delete "$printer_key" /f >/dev/null 2>&1 || true' EXIT
wine reg add "$printer_key" /v Name /d "$printer" /f >/dev/null
wine reg add "$printer_key" /v Port /d "LPT1:" /f >/dev/null
BRAN_ARTIFACT_DIR="Z:${out//\//\\}" wine "$build/tests/test_report.exe" \
  --gtest_filter='ReportComposer.ArtifactsForIndependentReaders' >"$out/run.log" 2>&1 || { cat "$out/run.log"; exit 1; }
[ -f "$out/CASE.RTF" ] && [ -f "$out/CASE.INI" ] || { echo "no report written"; cat "$out/run.log"; exit 1; }

python3 - "$out/CASE.INI" <<'PY'
import configparser, sys
ini = configparser.ConfigParser(interpolation=None, strict=False)
ini.optionxform = str
# Multi-line "Case" values put bare lines into the file; the helpdesk's readers allow them.
ini.read_string(open(sys.argv[1], encoding="cp1252").read().replace("\r\n", "\n"))
assert ini.sections()[:2] == ["Relatie", "Case"], ini.sections()
r = ini["Relatie"]
assert r["Achternaam"] == "Jansen" and r["Postcode"] == "1234 AB", dict(r)
assert r["Bedrijf"] == "Bakkerij Één & Zonen", r["Bedrijf"]
assert ini["Case"]["Produktversie"] == "Kasboek (3.1)"
assert ini["Handelingen"]["Line0"] == "Bestand, Afdrukken"
assert ini["Probleem"]["Line0"] == "Afdrukken naar C:\\{Kasboek}\\uit.txt lukt niet.", ini["Probleem"]["Line0"]
PY

text=$(unrtf --text "$out/CASE.RTF" 2>/dev/null | iconv -f cp1252 -t utf-8 2>/dev/null || unrtf --text "$out/CASE.RTF")
for want in "Helpdeskrapport" "Klantnummer" "1234AB12aJan" "Jansen" "Dorpsstraat 12 a" \
            'Afdrukken naar C:\{Kasboek}\uit.txt lukt niet.' "Een factuur afdrukken" "Technische Informatie" \
            "Windows geheugen" "Landinstellingen"; do
  grep -qF -- "$want" <<<"$text" || { echo "unrtf does not show: $want"; echo "$text" | head -80; exit 1; }
done

# Every category of the report's chapter, in the order of the check list.
n=0
for caption in "Systeem" "Beeldscherm" "Windows geheugen" "Schijven" "Joystick" "Geluidskaart" "Printer" \
               "MCI apparaten" "Windows systeem" "Landinstellingen" "DirectX" "Systeem bestanden" "Log bestanden"; do
  n=$((n + 1))
  grep -qxF -- "$n. $caption" <<<"$text" || { echo "unrtf does not show section $n. $caption"; exit 1; }
done

# The values the collectors found, against what other tools say about the same machine.
value_after() {  # the line unrtf puts after a label
  awk -v label="$1" 'found { sub(/^[ \t]+/, ""); print; exit } index($0, label) == 1 { found = 1 }' <<<"$text"
}
expect() {  # label, wanted value
  local got
  got=$(value_after "$1")
  [ "$got" = "$2" ] || { echo "$1 shows '$got', expected '$2'"; exit 1; }
}
drive_value() {  # letter, label: the value in that drive's block of the drives section
  awk -v letter="$1" -v label="$2" '
    want { sub(/^[ \t]+/, ""); print; exit }
    index($0, "Station-letter:") == 1 { getline; sub(/^[ \t]+/, ""); inside = ($0 == letter) }
    inside && index($0, label) == 1 { want = 1 }' <<<"$text"
}
expect_drive() {  # letter, label, wanted value
  local got
  got=$(drive_value "$1" "$2")
  [ "$got" = "$3" ] || { echo "drive $1: $2 shows '$got', expected '$3'"; exit 1; }
}
prefix=${WINEPREFIX:-$build/wineprefix}
windows="$prefix/drive_c/windows"

directx=$(wine reg query 'HKLM\Software\Microsoft\DirectX' /v Version 2>/dev/null | tr -d '\r' | awk '$1 == "Version" { print $3 }')
[ -n "$directx" ] || { echo "the prefix has no DirectX version"; exit 1; }
expect "DirectX Versie(registry):" "$directx"
ddraw=$(stat -c %s "$windows/system32/ddraw.dll")
grep -qE "^DDRAW.DLL : [0-9.]+ .* Size: $ddraw bytes\$" <<<"$text" || { echo "no DDRAW.DLL entry of $ddraw bytes"; exit 1; }
grep -qxF "DSOUND.VXD : File not found" <<<"$text" || { echo "no entry for a missing DirectX file"; exit 1; }

# The media devices Wine knows are those of the [mci] section of its system.ini.
mapfile -t aliases < <(python3 - "$windows/system.ini" <<'PY'
import configparser, sys
ini = configparser.ConfigParser(interpolation=None, strict=False, comment_prefixes=(";",))
ini.optionxform = str
ini.read(sys.argv[1], encoding="cp1252")
print("\n".join(ini["mci"].keys()))
PY
)
expect "Aantal MCI apparaten:" "${#aliases[@]}"
# Each device under its alias; its name is the alias too (Wine records no descriptions), or empty when
# the device would not open.
shown=$(awk 'index($0, "Naam:") == 1 { getline; name = $0 } index($0, "Alias:") == 1 { getline; print name "|" $0 }' <<<"$text")
for alias in "${aliases[@]}"; do
  grep -qxF -e "$alias|$alias" -e "|$alias" <<<"$shown" || { echo "MCI device $alias not listed: $shown"; exit 1; }
done
printers=$(wine reg query 'HKLM\System\CurrentControlSet\Control\Print\Printers' 2>/dev/null | tr -d '\r' | grep -c '^HKEY_.*\\Printers\\')
expect "Aantal printers:" "$printers"
expect "Printer naam:" "$printer"
expect "Printer poort:" "LPT1:"

# The screen: mode 0 is the X display's own size; one mode only, so its memory is that mode's.
size=$(xdpyinfo 2>/dev/null | awk '/dimensions:/ { print $2 }')
width=${size%x*}; height=${size#*x}
grep -qE "^Windows mode 0, $width x $height, [0-9]+ bits\$" <<<"$text" || { echo "no mode 0 of $size"; exit 1; }
expect "Maximale resolutie:" "$width,$height"

# Drive C: is the prefix's drive_c on the Linux file system; its size needs more than 32 bits.
total=$(python3 -c "import shutil, sys; print(('%.2f' % (shutil.disk_usage(sys.argv[1]).total / 1048576)).replace('.', ','))" "$prefix/drive_c/")
expect_drive C "Totale schijfruimte:" "$total Mb"
expect_drive C "Station-type:" "Vast"

# The system summary: Wine names the computer after the host and the user after the Linux user.
expect "Computer naam:" "$(hostname | cut -c1-15 | tr '[:lower:]' '[:upper:]')"
expect "Gebruiker naam:" "$(id -un)"
memory=$(python3 -c "import re; kb = int(re.search(r'MemTotal:\s+(\d+)', open('/proc/meminfo').read()).group(1)); print('%d Mb' % int(kb / 1024 + 0.5))")
expect "Geheugen:" "$memory"
nt_value() { wine reg query 'HKLM\Software\Microsoft\Windows NT\CurrentVersion' /v "$1" 2>/dev/null | tr -d '\r' |
             awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'; }
version=$(nt_value CurrentVersion)
expect "Windows versie:" "Windows NT ${version%%.*}.$(printf %02d "${version#*.}").$(nt_value CurrentBuildNumber) $(nt_value CSDVersion)"

# Today's sources: the display device's driver key (named in the device map) and the user's choice
# of browser for web addresses, as the prefix's registry holds them.
reg_value() {  # key, value name
  wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | awk -v name="$2" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
driver_key=$(reg_value 'HKLM\HARDWARE\DEVICEMAP\VIDEO' '\Device\Video0' | sed 's/^\\Registry\\Machine\\/HKLM\\/I')
driver=$(reg_value "$driver_key" DriverDesc)
[ -n "$driver" ] || { echo "the prefix names no display driver under '$driver_key'"; exit 1; }
expect "Video driver:" "$driver"
value_after "Video geheugen:" | grep -qE '^[0-9]+ Mb \(schatting\)$' || { echo "video memory is no estimate"; exit 1; }
prog_id=$(reg_value 'HKCU\Software\Microsoft\Windows\Shell\Associations\UrlAssociations\http\UserChoice' ProgId)
browser=$(wine reg query "HKCR\\$prog_id\\shell\\open\\command" /ve 2>/dev/null | tr -d '\r' | sed -n 's/^.*REG_SZ *//p' | sed 's/^"\([^"]*\)".*/\1/; s/.*\\//; s/\.exe$//I')
[ -n "$browser" ] || { echo "the prefix records no browser for web addresses"; exit 1; }
expect "Standaard Internet browser:" "$browser"

# The start-up files are copied whole: the first line of the prefix's system.ini follows its heading.
first=$(head -1 "$windows/system.ini" | tr -d '\r')
awk -v first="$first" '{ sub(/[ \t]+$/, "") } NF { if (prev == "system.ini" && $0 == first) ok = 1; prev = $0 }
                       END { exit !ok }' <<<"$text" ||
  { echo "system.ini is not copied under its heading"; exit 1; }
echo "report files read back by configparser and unrtf; the technical sections agree with the machine"
