#!/usr/bin/env bash
# Disks that are really full or really removable, as small file systems mounted for the test (needs
# the right to mount, as in CI; without it the check is skipped with code 77):
# - copies and saves of the report store, and the problem solver's report, on a disk that is full;
# - printing to a file on a disk that fills up: the spooler refuses the end, the print fails;
# - a report spanned over floppies through the program's own drive handling: a floppy-sized file
#   system as the prefix's drive A:, a removable drive for the program, where the user puts the
#   written disk back once and then a full one; Info-ZIP joins the set (zip -s 0) and tests it
#   (unzip -t).
#   usage: full_disk.sh <build-folder>
set -euo pipefail
build=$(realpath "$1")
[ -n "${WINEPREFIX:-}" ] || source "$(dirname "$0")/../../tools/wine-env.sh" "$build/wineprefix"
disk=$(mktemp -d)
floppy=$(mktemp -d)
out=$(mktemp -d)
fprefix=$(mktemp -d)
log=$(mktemp)
mounted=()
cleanup() {
  WINEPREFIX="$fprefix" wineserver -k >/dev/null 2>&1 || true
  for m in "${mounted[@]}"; do umount "$m"; done
  # The floppy's prefix only links the test prefix's drive C:, which stays.
  rm -rf "$disk" "$floppy" "$out" "$log" "$fprefix"
}
trap cleanup EXIT
if ! mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null; then
  echo "SKIP: cannot mount a small file system here"
  exit 77
fi
mounted+=("$disk")

# run <executable> <test> [VAR=value...]: the one test must run and pass.
run() {
  local exe=$1 test=$2
  shift 2
  if ! env "$@" wine "$build/tests/$exe" --gtest_filter="$test" >"$log" 2>&1; then
    cat "$log"; exit 1
  fi
  grep -q '\[  PASSED  \] 1 test' "$log" || { echo "$test did not run"; cat "$log"; exit 1; }
}

run test_report.exe HelpdeskReport.FullDiskLeavesNoHalfFiles BRAN_FULL_DISK="Z:${disk//\//\\}"
echo "report store on a full disk: no half files, the old text kept"
# The problem solver on the same disk, filled up: the personal data stay, no half report is left.
run test_solver.exe 'Closing.AFullDisk*' BRAN_FULL_DISK="Z:${disk//\//\\}"
echo "problem solver on a full disk: the personal-data page kept, no half report, an attachment that does not fit refused"
run test_delivery.exe PrintReport.ASpoolerThatRefusesTheEndFailsThePrint BRAN_FULL_DISK="Z:${disk//\//\\}"
echo "printing onto a full disk: the spooler's refusal fails the print"

# Wine learns a drive's kind when its prefix starts: the floppy gets a prefix of its own, with the
# test prefix's registry and drive C: and the new drive A:.
# The floppy holds 1440 KiB, as much as the program may find free on a 1.44 MB disk.
mount -t tmpfs -o size=1440k tmpfs "$floppy"
mounted+=("$floppy")
cp "$WINEPREFIX"/{system,user,userdef}.reg "$WINEPREFIX/.update-timestamp" "$fprefix/"
printf '\n[Software\\\\Wine\\\\Drives] 1700000000\n"a:"="floppy"\n' >>"$fprefix/system.reg"
mkdir "$fprefix/dosdevices"
ln -s "$WINEPREFIX/drive_c" "$fprefix/drive_c"
ln -s ../drive_c "$fprefix/dosdevices/c:"
ln -s / "$fprefix/dosdevices/z:"
ln -s "$floppy" "$fprefix/dosdevices/a:"
run test_delivery.exe ZipReportFolder.OnARealFloppy WINEPREFIX="$fprefix" BRAN_FLOPPY=A: BRAN_ARTIFACT_DIR="Z:${out//\//\\}"
parts=$out/floppy
[ "$(ls "$parts")" = "$(printf 'case.z01\ncase.z02\ncase.zip')" ] || { echo "FAIL: disks $(ls "$parts")"; exit 1; }
for part in "$parts"/*; do
  [ "$(stat -c %s "$part")" -le $((1440 * 1024)) ] || { echo "FAIL: $part larger than the floppy"; exit 1; }
done
zip -q -s 0 "$parts/case.zip" --out "$out/joined.zip" || { echo "FAIL: zip -s 0 cannot join the set"; exit 1; }
unzip -tq "$out/joined.zip" >"$log" || { echo "FAIL: unzip -t"; cat "$log"; exit 1; }
unzip -q "$out/joined.zip" -d "$out/unzipped"
diff -r "$out/unzipped" "$out/floppy-src" || { echo "FAIL: the joined set differs from the report"; exit 1; }
echo "report spanned over real floppies (same disk again, full disk): joined by zip -s 0, unzip -t clean"
