#!/usr/bin/env python3
"""SendMail over STARTTLS and TLS from the start, with AUTH PLAIN and LOGIN, against a server on
the standard library's ssl with a certificate authority made for this run: refused while the Wine
prefix does not trust the authority, accepted once it does; a server without STARTTLS never gets
the account or the message in plain; what arrived is read back by Python's email parser.
usage: secure_mail.py <build-folder>"""
import email
import email.policy
import hashlib
import os
import subprocess
import sys
import tempfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checksupport import fail  # noqa: E402
from securesmtp import SecureSmtpServer, make_authority  # noqa: E402

ACCOUNT = {"jan@example.nl": "geheim wachtwoord"}
ROOT_KEY = "HKCU\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\"


def run_tests(build, env, name, count):
    run = subprocess.run(["wine", os.path.join(build, "tests", "test_mail.exe"), "--gtest_filter=SecureMail." + name],
                         env=env, capture_output=True, text=True, timeout=240)
    if run.returncode != 0 or "[  PASSED  ] %d test" % count not in run.stdout:
        fail("SecureMail.%s failed\n%s%s" % (name, run.stdout, run.stderr))


def untrust(thumbprint):
    subprocess.run(["wine", "reg", "delete", ROOT_KEY + thumbprint, "/f"], capture_output=True)


def check_report(message, zip_bytes, label):
    mail_from, recipients, data, tls = message
    if not tls:
        fail(label + ": the message travelled without TLS")
    if mail_from != "jan@example.nl" or recipients != ["helpdesk@brantel.nl"]:
        fail("%s: envelope %r %r" % (label, mail_from, recipients))
    msg = email.message_from_bytes(data, policy=email.policy.default)
    if msg.get_payload(decode=True) != zip_bytes:
        fail(label + ": the attachment differs")


def main():
    build = os.path.abspath(sys.argv[1])
    with tempfile.TemporaryDirectory() as out:
        ca_der, certificate, key = make_authority(out)
        thumbprint = hashlib.sha1(open(ca_der, "rb").read()).hexdigest().upper()
        servers = {
            "starttls": SecureSmtpServer("starttls", certificate, key, ("PLAIN", "LOGIN"), ACCOUNT),
            "tls": SecureSmtpServer("tls", certificate, key, ("LOGIN",), ACCOUNT),
            "nostarttls": SecureSmtpServer("starttls", certificate, key, ("PLAIN", "LOGIN"), ACCOUNT,
                                           offer_starttls=False),
            "plain": SecureSmtpServer("plain"),
        }
        zip_bytes = bytes((i * 37 + i // 5) % 256 for i in range(20000))
        open(os.path.join(out, "Case.zip"), "wb").write(zip_bytes)
        env = dict(os.environ, BRAN_ARTIFACT_DIR="Z:" + out.replace("/", "\\"),
                   BRAN_TEST_AUTHORITY="Z:" + ca_der.replace("/", "\\"),
                   BRAN_SECURE_SERVERS=";".join("%s=%d" % (k, s.port) for k, s in servers.items()))
        untrust(thumbprint)
        try:
            run_tests(build, env, "RefusedWithoutTrustOrProtection", 1)
            refused = {k: (len(s.sessions), s.messages(), [l for x in s.sessions for l in x.logins])
                       for k, s in servers.items()}
            for name in ("starttls", "tls", "nostarttls"):
                sessions, messages, logins = refused[name]
                if sessions != 1 or messages or logins:
                    fail("%s without trust: %d sessions, %d messages, logins %r" %
                         (name, sessions, len(messages), logins))
            sent_plain = [c for c, _ in servers["nostarttls"].sessions[0].commands]
            if any(c.upper().startswith(("AUTH", "MAIL", "RCPT", "DATA")) for c in sent_plain):
                fail("STARTTLS not offered, yet the client went on in plain: %r" % sent_plain)
            if len(servers["plain"].messages()) != 1:
                fail("the plain server got %d messages" % len(servers["plain"].messages()))

            run_tests(build, env, "TrustTheTestAuthority", 1)
            run_tests(build, env, "AcceptedWithTrust", 1)
        finally:
            untrust(thumbprint)

        starttls, tls = servers["starttls"], servers["tls"]
        if len(starttls.messages()) != 1 or len(tls.messages()) != 1:
            fail("messages: STARTTLS %d, TLS %d" % (len(starttls.messages()), len(tls.messages())))
        check_report(starttls.messages()[0], zip_bytes, "STARTTLS")
        check_report(tls.messages()[0], zip_bytes, "TLS")
        logins = [l for s in starttls.sessions for l in s.logins]
        if logins != [("PLAIN", "jan@example.nl", "geheim wachtwoord", True),
                      ("PLAIN", "jan@example.nl", "fout", False)]:
            fail("STARTTLS logins %r" % logins)
        for session in starttls.sessions:
            for command, on in session.commands:
                if command.upper().startswith(("AUTH", "MAIL")) and not on:
                    fail("%r was sent before TLS" % command)
        if [l[:2] for s in tls.sessions for l in s.logins] != [("LOGIN", "jan@example.nl")]:
            fail("TLS logins %r" % [l for s in tls.sessions for l in s.logins])
    print("STARTTLS + AUTH PLAIN and TLS + AUTH LOGIN delivered once trusted; untrusted, unoffered and "
          "wrong-password sessions carried nothing")


main()
