#!/usr/bin/env bash
# The problem solver in the real program, started for an application and walked from its main window
# (EndToEnd test of test_solver), and the report it leaves read by tools we did not write: CASE.RTF by
# unrtf, CASE.INI by Python's configparser.
#   usage: problem_solver.sh <build-folder>
set -euo pipefail
build=$(realpath "$1")
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
BRAN_E2E_DIR="Z:${out//\//\\}" wine "$build/tests/test_solver.exe" --gtest_filter='EndToEnd.*' >"$out/run.log" 2>&1 \
  || { cat "$out/run.log"; exit 1; }
grep -q "\[  PASSED  \] 1 test" "$out/run.log" || { cat "$out/run.log"; exit 1; }
report="$out/Reports/Kasboek/Report01"
[ -f "$report/CASE.RTF" ] && [ -f "$report/CASE.INI" ] || { echo "no report in $report"; ls -R "$out"; exit 1; }

python3 - "$report/CASE.INI" <<'PY'
import configparser, sys
ini = configparser.ConfigParser(interpolation=None, strict=False)
ini.optionxform = str
ini.read_string(open(sys.argv[1], encoding="cp1252").read().replace("\r\n", "\n"))
r, c = ini["Relatie"], ini["Case"]
assert r["Achternaam"] == "Jansen" and r["Plaats"] == "Utrecht", dict(r)
assert c["Produktversie"] == "Kasboek (2.1)", c["Produktversie"]
assert c["Bedoeling"] == "De maand afsluiten", c["Bedoeling"]
assert c["Foutmelding"] == "Fout 42", c["Foutmelding"]
assert c["Aanmaakdatum"], dict(c)
assert ini["Probleem"]["Line0"] == "Het kasboek sluit de maand niet af.", dict(ini["Probleem"])
assert ini["Handelingen"]["Line0"] == "Menu Boekingen, Maand afsluiten", dict(ini["Handelingen"])
assert [v for _, v in ini["Techinfos"].items()] == ["WindowsMemory", "RegionalSettings"], dict(ini["Techinfos"])
PY

text=$(unrtf --text "$report/CASE.RTF" 2>/dev/null)
for want in "Helpdeskrapport" "Kasboek (2.1)" "Klantnummer" "1234AB12Jan" "Jansen" "Dorpsstraat 12" "Utrecht" \
            "Probleemomschrijving" "Het kasboek sluit de maand niet af." "De maand afsluiten" "Fout 42" \
            "Technische Informatie" "1. Windows geheugen" "2. Landinstellingen"; do
  grep -qF -- "$want" <<<"$text" || { echo "unrtf does not show: $want"; echo "$text" | head -80; exit 1; }
done
echo "problem solver: report of the real program read back by unrtf and configparser"
