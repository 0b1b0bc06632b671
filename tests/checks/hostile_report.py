#!/usr/bin/env python3
"""A helpdesk report composed on a PC whose printers, devices, folders, names and log files hold what
RTF has a meaning of its own for (HostileReport test of test_report), read back by unrtf: every section
is there, in order, and every value reads exactly as the PC stored it.   usage: hostile_report.py <build-folder>"""
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checksupport import fail  # noqa: E402

CAPTIONS = ["Systeem", "Beeldscherm", "Windows geheugen", "Schijven", "Joystick", "Geluidskaart", "Printer",
            "MCI apparaten", "Windows systeem", "Landinstellingen", "DirectX", "Systeem bestanden", "Log bestanden"]


def main():
    build = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as out:
        env = dict(os.environ, BRAN_ARTIFACT_DIR="Z:" + out.replace("/", "\\"))
        run = subprocess.run(["wine", os.path.join(build, "tests", "test_report.exe"), "--gtest_filter=HostileReport.*"],
                             env=env, capture_output=True, text=True, timeout=240)
        if run.returncode != 0 or "[  PASSED  ] 1 test" not in run.stdout:
            fail("the report was not composed\n" + run.stdout[-3000:] + run.stderr[-2000:])
        rtf = open(os.path.join(out, "CASE.RTF"), "rb").read()
        expected = open(os.path.join(out, "expected.tsv"), encoding="utf-8").read().splitlines()
        path = os.path.join(out, "CASE.RTF")
        # RTF is seven-bit; unrtf gives the \'hh escapes back as Windows-1252.
        text = subprocess.run(["unrtf", "--text", path], capture_output=True).stdout.decode("cp1252", errors="replace")
    if any(byte >= 0x80 or (byte < 0x20 and byte not in b"\r\n") for byte in rtf):
        fail("CASE.RTF holds bytes that are no seven-bit text")
    lines = [line.strip(" \t") for line in text.splitlines()]

    # Every section, in order: a value that ended the document early would lose the ones after it.
    at = [lines.index("%d. %s" % (n, caption)) if "%d. %s" % (n, caption) in lines else -1
          for n, caption in enumerate(CAPTIONS, 1)]
    if -1 in at or at != sorted(at):
        fail("sections missing or out of order: %r\n%s" % (list(zip(CAPTIONS, at)), text[-3000:]))
    if any(line.startswith("Deze gegevens konden niet worden verzameld") for line in lines):
        fail("a collector failed on these values")

    def after(label):  # the values unrtf shows on the first non-empty line after each line with the label
        found = []
        for i, line in enumerate(lines):
            if line.startswith(label):
                following = [l for l in lines[i + 1:i + 4] if l]
                found.append(following[0] if following else "")
        return found

    for entry in expected:
        kind, *rest = entry.split("\t")
        if kind == "after":
            label, value = rest
            shown = after(label)
            if value not in shown:
                fail("after %r unrtf shows %r, not %r" % (label, [s[:80] for s in shown], value[:80]))
        elif value_line := rest[0]:
            if value_line not in lines:
                fail("no line %r" % value_line[:80])
    print("hostile report read back by unrtf: %d sections, %d values as stored" % (len(CAPTIONS), len(expected)))


if __name__ == "__main__":
    main()
