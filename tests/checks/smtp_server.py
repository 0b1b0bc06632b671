#!/usr/bin/env python3
"""SendMail against Python's own SMTP server on 127.0.0.1: the envelope, the headers and the
attachment bytes as that server received them.   usage: smtp_server.py <build-folder>"""
import email
import email.policy
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checksupport import SmtpSink, fail  # noqa: E402




def main():
    build = os.path.abspath(sys.argv[1])
    server = SmtpSink()
    port = server.port
    with tempfile.TemporaryDirectory() as out:
        zip_bytes = bytes((i * 31 + i // 7) % 256 for i in range(7000))
        open(os.path.join(out, "Case.zip"), "wb").write(zip_bytes)
        env = dict(os.environ, BRAN_ARTIFACT_DIR="Z:" + out.replace("/", "\\"),
                   BRAN_SMTP_SERVER="127.0.0.1:%d" % port)
        run = subprocess.run(["wine", os.path.join(build, "tests", "test_mail.exe"),
                              "--gtest_filter=SendMail.ThroughAnIndependentServer"],
                             env=env, capture_output=True, text=True, timeout=240)
        if run.returncode != 0 or "[  PASSED  ] 1 test" not in run.stdout:
            fail("SendMail failed\n" + run.stdout + run.stderr)
    if len(server.received) != 2:
        fail("%d messages arrived" % len(server.received))

    mailfrom, rcpttos, data = server.received[0]
    if mailfrom != "jan@example.nl" or rcpttos != ["helpdesk@brantel.nl"]:
        fail("report envelope %r %r" % (mailfrom, rcpttos))
    msg = email.message_from_bytes(data, policy=email.policy.default)
    if msg.get_filename() != "Case.zip" or msg.get_payload(decode=True) != zip_bytes:
        fail("report attachment differs")
    if str(msg["Subject"]) != "12345":
        fail("report subject " + str(msg["Subject"]))

    mailfrom, rcpttos, data = server.received[1]
    if rcpttos != ["adres@brantel.nl", "kopie@brantel.nl"]:
        fail("address change envelope %r" % rcpttos)
    msg = email.message_from_bytes(data, policy=email.policy.default)
    lines = msg.get_content().replace("\r\n", "\n").split("\n")
    want = ["Naam: Jansen", ".", ".punt", "Straat: Één 1", "w" * 300]
    if lines[:5] != want:
        fail("address change body %r" % lines)
    print("two messages delivered to Python's SMTP server and read back")


main()
