#!/usr/bin/env python3
"""Messages written by our MIME encoder, read back by Python's email parser: headers (Date and
Message-ID among them), parts and attachment bytes. Base64 and quoted-printable lines are also decoded by the base64 and quopri
modules.   usage: mime_messages.py <build-folder>"""
import base64
import datetime
import email
import email.policy
import email.utils
import os
import quopri
import re
import subprocess
import sys
import tempfile


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def read(folder, name):
    return open(os.path.join(folder, name), "rb").read()


def check_lines(raw):
    for line in raw.split(b"\r\n"):
        if len(line) > 998:
            fail("line of %d octets" % len(line))
    if b"\n" in raw.replace(b"\r\n", b""):
        fail("bare line feed in the wire form")


def check_stamp(msg, label, domain="example.nl"):
    """Date near now as the Internet message format writes it; a Message-ID in the sender's domain."""
    date = email.utils.parsedate_to_datetime(str(msg["Date"]))
    if date.tzinfo is None or abs((date - datetime.datetime.now(datetime.timezone.utc)).total_seconds()) > 600:
        fail("%s: Date %r" % (label, str(msg["Date"])))
    if not re.fullmatch(r"<[^<>@\s]+@" + re.escape(domain) + ">", str(msg["Message-ID"]).strip()) or msg["Message-ID"].defects:
        fail("%s: Message-ID %r" % (label, str(msg["Message-ID"])))


def body_of(raw):
    return raw.split(b"\r\n\r\n", 1)[1]


def main():
    build = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as out:
        env = dict(os.environ, BRAN_ARTIFACT_DIR="Z:" + out.replace("/", "\\"))
        run = subprocess.run(["wine", os.path.join(build, "tests", "test_mail.exe"),
                              "--gtest_filter=MessageEncoder.ArtifactsForIndependentReaders"],
                             env=env, capture_output=True, text=True, timeout=240)
        if run.returncode != 0 or not os.path.exists(os.path.join(out, "mixed.eml")):
            fail("no messages written\n" + run.stdout + run.stderr)
        zip_bytes, exact, text = read(out, "zip.bin"), read(out, "exact.bin"), read(out, "text.txt")

        raw = read(out, "single.eml")
        check_lines(raw)
        msg = email.message_from_bytes(raw, policy=email.policy.default)
        if msg.get_content_type() != "application/x-zip-compressed":
            fail("single: type " + msg.get_content_type())
        if msg.get_filename() != "CASE.ZIP" or msg.get_payload(decode=True) != zip_bytes:
            fail("single: attachment bytes differ")
        if msg["To"].addresses[0].addr_spec != "helpdesk@brantel.nl" or str(msg["Subject"]) != "12345":
            fail("single: headers " + str(msg.items()))
        if base64.b64decode(body_of(raw).replace(b"\r\n", b"")) != zip_bytes:
            fail("single: base64 module disagrees")
        check_stamp(msg, "single")

        raw = read(out, "mixed.eml")
        check_lines(raw)
        msg = email.message_from_bytes(raw, policy=email.policy.default)
        if msg.get_content_type() != "multipart/mixed" or msg.defects:
            fail("mixed: %s %s" % (msg.get_content_type(), msg.defects))
        check_stamp(msg, "mixed")
        if str(msg["Subject"]) != "Rapport van Müller":
            fail("mixed: subject " + str(msg["Subject"]))
        if [a.addr_spec for a in msg["To"].addresses] != ["a@b.nl", "c@d.nl"] or \
                msg["To"].addresses[0].display_name != "Dhr. A.":
            fail("mixed: To " + str(msg["To"]))
        if msg["From"].addresses[0].display_name != "Jan Jansen" or msg["CC"].addresses[0].addr_spec != "e@f.nl":
            fail("mixed: From/CC")
        parts = list(msg.iter_parts())
        if len(parts) != 4:
            fail("mixed: %d parts" % len(parts))
        body = parts[0].get_content()
        if parts[0].get_content_charset() != "windows-1252":
            fail("mixed: body charset " + str(parts[0].get_content_charset()))
        want = "Goedendag,\n\n" + "q" * 300 + "\nStraat: Één 1\n" + "€é=" * 30 + "\n" + "é" * 60 + "\n.\n"
        if body.replace("\r\n", "\n").rstrip("\n") != want.rstrip("\n"):
            fail("mixed: body %r" % body)
        if parts[1].get_filename() != "CASE.ZIP" or parts[1].get_payload(decode=True) != zip_bytes:
            fail("mixed: CASE.ZIP bytes differ")
        if parts[2].get_payload(decode=True) != exact:
            fail("mixed: 171-byte attachment differs")
        got = parts[3].get_payload(decode=True)
        if got.rstrip(b"\r\n") != text.rstrip(b"\r\n"):
            fail("mixed: text attachment %r" % got)
        qp = parts[3].get_payload(decode=False).encode("ascii")
        if quopri.decodestring(qp).rstrip(b"\r\n") != text.rstrip(b"\r\n"):
            fail("mixed: quopri disagrees")
        for part in parts[:1] + parts[3:]:
            for line in part.get_payload(decode=False).splitlines():
                if len(line) > 76:
                    fail("quoted-printable line of %d characters" % len(line))

        raw = read(out, "plain.eml")
        check_lines(raw)
        msg = email.message_from_bytes(raw, policy=email.policy.default)
        if msg.get_content_type() != "text/plain" or msg.get_content_charset() != "us-ascii":
            fail("plain: " + msg.get_content_type())
        if msg.get_content().replace("\r\n", "\n") != "Naam: Jansen\nAdres: Dorpsstraat 1\n":
            fail("plain: body %r" % msg.get_content())
    print("MIME messages read back by email, base64 and quopri")


main()
