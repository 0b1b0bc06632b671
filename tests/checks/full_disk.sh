#!/usr/bin/env bash
# Copies and saves of the report store on a disk that is really full: a small file system mounted
# for the test (needs the right to mount, as in CI; without it the check is skipped with code 77).
#   usage: full_disk.sh <build-folder>
set -euo pipefail
build=$(realpath "$1")
disk=$(mktemp -d)
if ! mount -t tmpfs -o size=64k tmpfs "$disk" 2>/dev/null; then
  rmdir "$disk"
  echo "SKIP: cannot mount a small file system here"
  exit 77
fi
trap 'umount "$disk"; rmdir "$disk"' EXIT
log=$(mktemp)
if ! BRAN_FULL_DISK="Z:${disk//\//\\}" wine "$build/tests/test_report.exe" \
     --gtest_filter='HelpdeskReport.FullDiskLeavesNoHalfFiles' >"$log" 2>&1; then
  cat "$log"; rm -f "$log"; exit 1
fi
grep -q '\[  PASSED  \] 1 test' "$log" || { echo "the test did not run"; cat "$log"; rm -f "$log"; exit 1; }
rm -f "$log"
echo "report store on a full disk: no half files, the old text kept"
