#!/usr/bin/env python3
"""Report delivery read back by tools we did not write: the archives of test_delivery.exe with
Info-ZIP's unzip -t and -l, funzip (an archive read as a stream) and Python's zipfile (names, sizes,
bytes, attributes), the archives spanned over
floppies (as users swap disks: the same disk again, write-protected and full disks) joined by
Info-ZIP's zip -s 0, and the e-mailed report as Python's own SMTP server received
it.   usage: report_delivery.py <build-folder>"""
import datetime
import email
import email.policy
import email.utils
import os
import shutil
import struct
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checksupport import SmtpSink, fail  # noqa: E402

HIDDEN, READ_ONLY = 0x02, 0x01




def unzip_test(path):
    run = subprocess.run(["unzip", "-t", path], capture_output=True, text=True, errors="replace")
    if run.returncode != 0 or "No errors detected" not in run.stdout:
        fail("unzip -t %s\n%s%s" % (path, run.stdout, run.stderr))


def same_files(archive, source_folder, label, changed=None):
    """The archive holds exactly the files of the folder, under their bare names, bytes identical
    (or as `changed` says a file read before the folder changed it)."""
    with zipfile.ZipFile(archive) as z:
        if z.testzip() is not None:
            fail(label + ": zipfile finds a bad entry")
        infos = {i.filename: i for i in z.infolist()}
        expected = sorted(os.listdir(source_folder))
        if sorted(infos) != expected:
            fail("%s: names %r, expected %r" % (label, sorted(infos), expected))
        for name in expected:
            data = (changed or {}).get(name) or open(os.path.join(source_folder, name), "rb").read()
            if infos[name].file_size != len(data) or z.read(name) != data:
                fail("%s: %s differs" % (label, name))
        return infos


def check_plain(out):
    archive = os.path.join(out, "plain", "Case.zip")
    unzip_test(archive)
    infos = same_files(archive, os.path.join(out, "plain-src"), "plain archive")
    for name, bit in (("verborgen.txt", HIDDEN), ("alleen-lezen.txt", READ_ONLY)):
        if not infos[name].external_attr & bit:
            fail("plain archive: %s lost its attribute (%#x)" % (name, infos[name].external_attr))
    if "Één café.txt" not in infos:
        fail("plain archive: accented name missing")
    listing = subprocess.run(["unzip", "-l", archive], capture_output=True, env=dict(os.environ, LC_ALL="C.UTF-8"))
    if "Één café.txt".encode() not in listing.stdout:
        fail("plain archive: unzip -l garbles the accented name\n" + listing.stdout.decode(errors="replace"))
    # A stored entry says its CRC and sizes in its local header, where streaming readers look.
    data = open(archive, "rb").read()
    for info in infos.values():
        flags, method = struct.unpack_from("<HH", data, info.header_offset + 6)
        crc, csize, size = struct.unpack_from("<III", data, info.header_offset + 14)
        if method == 0 and (flags & 8 or (crc, csize, size) != (info.CRC, info.compress_size, info.file_size)):
            fail("plain archive: stored %s has flags %#x, local CRC and sizes %r" % (info.filename, flags, (crc, csize, size)))
    stored = os.path.join(out, "stored", "Case.zip")
    with open(stored, "rb") as stream:
        run = subprocess.run(["funzip"], stdin=stream, capture_output=True)
    if run.returncode != 0 or run.stdout != open(os.path.join(out, "stored-src", "ruis.bin"), "rb").read():
        fail("funzip cannot read the stored entry as a stream: %s" % run.stderr.decode(errors="replace"))


def check_spanned(out, name):
    """A set of disks as they came out of the drive: case.z01, case.z02, ... and case.zip last."""
    disks = os.path.join(out, name)
    names = sorted(os.listdir(disks))
    expected = ["case.z%02d" % i for i in range(1, len(names))] + ["case.zip"]
    if len(names) < 2 or names != expected:
        fail("%s: disks %r" % (name, names))
    if open(os.path.join(disks, "case.z01"), "rb").read(4) != b"PK\x07\x08":
        fail(name + ": first disk lacks the spanning marker")
    joined = os.path.join(out, name + "-joined.zip")
    run = subprocess.run(["zip", "-s", "0", os.path.join(disks, "case.zip"), "--out", joined],
                         capture_output=True, text=True)
    if run.returncode != 0:
        fail("zip -s 0 of %s\n%s%s" % (name, run.stdout, run.stderr))
    unzip_test(joined)
    same_files(joined, os.path.join(out, name + "-src"), name + " joined")


def check_mail(out, received):
    if len(received) != 1:
        fail("%d mails arrived" % len(received))
    mailfrom, rcpttos, data = received[0]
    if mailfrom != "p.jansen@example.nl" or rcpttos != ["helpdesk@kasboek.nl"]:
        fail("mail envelope %r %r" % (mailfrom, rcpttos))
    msg = email.message_from_bytes(data, policy=email.policy.default)
    if str(msg["Subject"]).strip() != "1234AB12aJan":
        fail("mail subject %r" % str(msg["Subject"]))
    if "p.jansen@example.nl" not in str(msg["From"]) or "helpdesk@kasboek.nl" not in str(msg["To"]):
        fail("mail headers %r %r" % (str(msg["From"]), str(msg["To"])))
    date = email.utils.parsedate_to_datetime(str(msg["Date"]))
    if abs((date - datetime.datetime.now(datetime.timezone.utc)).total_seconds()) > 600:
        fail("mail Date %r" % str(msg["Date"]))
    if not str(msg["Message-ID"]).strip().endswith("@example.nl>"):
        fail("mail Message-ID %r" % str(msg["Message-ID"]))
    parts = [p for p in msg.walk() if p.get_filename()]
    if len(parts) != 1 or parts[0].get_filename() != "CASE.ZIP":
        fail("mail attachments %r" % [p.get_filename() for p in parts])
    archive = os.path.join(out, "mailed.zip")
    open(archive, "wb").write(parts[0].get_payload(decode=True))
    unzip_test(archive)
    # Once the server took the message the report is marked sent, after the archive was made.
    ini = open(os.path.join(out, "mail-src", "CASE.INI"), "rb").read()
    before, mark = ini.split(b"[Verzending]\r\n", 1) if b"[Verzending]\r\n" in ini else (ini, b"")
    if not mark.startswith(b"Status=Verzonden\r\n"):
        fail("mailed report not marked sent: %r" % mark)
    same_files(archive, os.path.join(out, "mail-src"), "mailed archive", {"CASE.INI": before})


def main():
    build = os.path.abspath(sys.argv[1])
    for tool in ("unzip", "zip", "funzip"):
        if not shutil.which(tool):
            fail(tool + " is not installed")
    server = SmtpSink()
    port = server.port
    with tempfile.TemporaryDirectory() as out:
        env = dict(os.environ, BRAN_ARTIFACT_DIR="Z:" + out.replace("/", "\\"),
                   BRAN_SMTP_SERVER="127.0.0.1:%d" % port)
        run = subprocess.run(["wine", os.path.join(build, "tests", "test_delivery.exe"),
                              "--gtest_filter=ZipReportFolder.ArchiveForIndependentReaders:"
                              "ZipReportFolder.SpannedOverThreeFloppies:ZipReportFolder.DisksAsUsersSwapThem:"
                              "EmailReport.ToAnIndependentServer"],
                             env=env, capture_output=True, text=True, timeout=240)
        if run.returncode != 0 or "[  PASSED  ] 4 tests" not in run.stdout:
            fail("test_delivery failed\n" + run.stdout + run.stderr)
        check_plain(out)
        sets = sorted(n for n in os.listdir(out) if n.startswith("spanned") and os.path.isdir(os.path.join(out, n))
                      and not n.endswith("-src"))
        if len(sets) < 7:
            fail("only %d spanned sets written: %r" % (len(sets), sets))
        for name in sets:
            check_spanned(out, name)
        check_mail(out, server.received)
    print("archives, spanned disks and the mailed report read back by unzip, zip -s 0, zipfile and email")


main()
