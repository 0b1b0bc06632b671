#!/usr/bin/env bash
# A composed helpdesk report read by tools we did not write: CASE.INI by Python's configparser,
# CASE.RTF by unrtf.   usage: report_files.sh <build-folder>
set -euo pipefail
build=$(realpath "$1")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
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
echo "report files read back by configparser and unrtf"
