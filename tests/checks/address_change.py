#!/usr/bin/env python3
"""The address change's printed form read back by unrtf, a reader we did not write.
   usage: address_change.py <build-folder>"""
import os
import subprocess
import sys
import tempfile


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def run_test(build, name, env):
    run = subprocess.run(["wine", os.path.join(build, "tests", "test_enews.exe"), "--gtest_filter=" + name],
                         env=env, capture_output=True, text=True, timeout=240)
    if run.returncode != 0 or "[  PASSED  ] 1 test" not in run.stdout or "SKIPPED" in run.stdout:
        fail(name + " failed\n" + run.stdout + run.stderr)


def check_form(out):
    run = subprocess.run(["unrtf", "--text", os.path.join(out, "ADRESWIJZIGING.RTF")], capture_output=True)
    # unrtf gives the form's escaped accents back as Windows-1252 bytes and ends a tab stop's text with a
    # line break.
    text = run.stdout.decode("cp1252")
    flat = " ".join(" ".join(line for line in text.splitlines() if not line.startswith("###")).split())
    for want in ("Adreswijziging", "Stuur of fax dit formulier naar:", "Brantel Software B.V.", "Postbus 1250",
                 "3800 BG Amersfoort", "Fax: 033-4567890", "Klantennummer: 1234AB12aJan", "Oude adresgegevens Postcode 1234 AB",
                 "Plaats Utrecht Land Nederland", "Klantnummer: 1234AB12aJan", "Bedrijfsnaam: De Hoek & Co",
                 "Straat+Nr Kerkweg {achter} 12 a"):
        if want not in flat:
            fail("printed form: %r missing from %r" % (want, flat))


def main():
    build = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as out:
        env = dict(os.environ, BRAN_ARTIFACT_DIR="Z:" + out.replace("/", "\\"))
        run_test(build, "AddressChangeRecords.ComposesThePrintedForm", env)
        check_form(out)
    print("the printed form read back")


main()
