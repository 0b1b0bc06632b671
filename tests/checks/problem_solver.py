#!/usr/bin/env python3
"""The problem solver in the real program, started for an application and walked from its main window
(EndToEnd tests of test_solver; the second also closes the program while the wizard is open), finished by e-mail to Python's own SMTP server on 127.0.0.1. What it
leaves is read by tools we did not write: the mail by Python's email parser, its CASE.ZIP by unzip -t and
zipfile, CASE.RTF by unrtf and CASE.INI by configparser.   usage: problem_solver.py <build-folder>"""
import configparser
import email
import email.policy
import io
import os
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checksupport import SmtpSink, fail  # noqa: E402


def check_ini(text):
    ini = configparser.ConfigParser(interpolation=None, strict=False)
    ini.optionxform = str
    ini.read_string(text.replace("\r\n", "\n"))
    r, c = ini["Relatie"], ini["Case"]
    if r["Achternaam"] != "Jansen" or r["Plaats"] != "Utrecht":
        fail("Relatie %r" % dict(r))
    want = {"Produktversie": "Kasboek (2.1)", "Bedoeling": "De maand afsluiten", "Foutmelding": "Fout 42: één boeking ontbreekt"}
    for key, value in want.items():
        if c[key] != value:
            fail("Case %s is %r" % (key, c[key]))
    if not c["Aanmaakdatum"]:
        fail("no Aanmaakdatum")
    if ini["Probleem"]["Line0"] != "Het kasboek sluit de maand niet af.":
        fail("Probleem %r" % dict(ini["Probleem"]))
    if ini["Handelingen"]["Line0"] != "Menu Boekingen, Maand afsluiten":
        fail("Handelingen %r" % dict(ini["Handelingen"]))
    if [v for _, v in ini["Techinfos"].items()] != ["WindowsMemory", "RegionalSettings"]:
        fail("Techinfos %r" % dict(ini["Techinfos"]))


def check_rtf(path):
    # RTF is seven-bit: accents are written as \'hh escapes, which unrtf gives back as Windows-1252.
    if any(byte >= 0x80 for byte in open(path, "rb").read()):
        fail("CASE.RTF holds bytes beyond seven bits")
    text = subprocess.run(["unrtf", "--text", path], capture_output=True).stdout.decode("cp1252", errors="replace")
    for want in ["Helpdeskrapport", "Kasboek (2.1)", "Klantnummer", "1234AB12Jan", "Jansen", "Dorpsstraat 12",
                 "Utrecht", "Probleemomschrijving", "Het kasboek sluit de maand niet af.", "De maand afsluiten",
                 "Fout 42: één boeking ontbreekt", "Technische Informatie", "1. Windows geheugen", "2. Landinstellingen"]:
        if want not in text:
            fail("unrtf does not show %r\n%s" % (want, text[:3000]))


def main():
    build = os.path.abspath(sys.argv[1])
    server = SmtpSink()
    with tempfile.TemporaryDirectory() as out:
        env = dict(os.environ, BRAN_E2E_DIR="Z:" + out.replace("/", "\\"), BRAN_SMTP_SERVER="127.0.0.1:%d" % server.port)
        run = subprocess.run(["wine", os.path.join(build, "tests", "test_solver.exe"), "--gtest_filter=EndToEnd.*"],
                             env=env, capture_output=True, text=True, timeout=280)
        if run.returncode != 0 or "[  PASSED  ] 2 tests" not in run.stdout:
            fail("the walk failed\n" + run.stdout + run.stderr)
        report = os.path.join(out, "Reports", "Kasboek", "Report01")
        check_ini(open(os.path.join(report, "CASE.INI"), encoding="cp1252").read())
        check_rtf(os.path.join(report, "CASE.RTF"))

        if len(server.received) != 1:
            fail("%d messages arrived" % len(server.received))
        mailfrom, rcpttos, data = server.received[0]
        if mailfrom != "j.jansen@voorbeeld.nl" or len(rcpttos) != 1:
            fail("envelope %r %r" % (mailfrom, rcpttos))
        msg = email.message_from_bytes(data, policy=email.policy.default)
        if str(msg["Subject"]) != "1234AB12Jan":
            fail("subject %r" % str(msg["Subject"]))
        parts = [p for p in msg.walk() if p.get_filename()]
        if [p.get_filename().upper() for p in parts] != ["CASE.ZIP"]:
            fail("attachments %r" % [p.get_filename() for p in parts])
        archive = os.path.join(out, "mailed.zip")
        open(archive, "wb").write(parts[0].get_payload(decode=True))
        test = subprocess.run(["unzip", "-t", archive], capture_output=True, text=True)
        if test.returncode != 0:
            fail("unzip -t: " + test.stdout + test.stderr)
        with zipfile.ZipFile(archive) as z:
            names = sorted(n.upper() for n in z.namelist())
            if names != ["CASE.INI", "CASE.RTF"]:
                fail("archive holds %r" % names)
            name = {n.upper(): n for n in z.namelist()}
            if z.read(name["CASE.RTF"]) != open(os.path.join(report, "CASE.RTF"), "rb").read():
                fail("the mailed CASE.RTF differs from the report folder's")
            check_ini(io.TextIOWrapper(io.BytesIO(z.read(name["CASE.INI"])), encoding="cp1252").read())
    print("problem solver: walked, e-mailed and read back by email, unzip, zipfile, unrtf and configparser")


if __name__ == "__main__":
    main()
