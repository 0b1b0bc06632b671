#!/usr/bin/env python3
"""SendMail over STARTTLS and TLS from the start, with AUTH PLAIN and LOGIN, against a server on
the standard library's ssl with a certificate authority made for this run: refused while the Wine
prefix does not trust the authority, accepted once it does; a server without STARTTLS never gets
the account or the message in plain; what arrived is read back by Python's email parser.
Then the program's own windows: a report waiting in the outbox, the mail server set in its dialog
to STARTTLS with an account, the report sent again from the main window; the server must get it
once, after the log-in and over TLS, as the report folder holds it (zipfile).
usage: secure_mail.py <build-folder>"""
import email
import email.policy
import configparser
import hashlib
import io
import os
import subprocess
import sys
import tempfile
import zipfile

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "support"))
from checksupport import fail  # noqa: E402
from securesmtp import SecureSmtpServer, make_authority  # noqa: E402

ACCOUNT = {"jan@example.nl": "geheim wachtwoord"}
ROOT_KEY = "HKCU\\Software\\Microsoft\\SystemCertificates\\Root\\Certificates\\"


def run_tests(build, env, name, count, executable="test_mail", suite="SecureMail"):
    run = subprocess.run(["wine", os.path.join(build, "tests", executable + ".exe"), "--gtest_filter=%s.%s" % (suite, name)],
                         env=env, capture_output=True, text=True, timeout=240)
    if run.returncode != 0 or "[  PASSED  ] %d test" % count not in run.stdout or "SKIPPED" in run.stdout:
        fail("%s.%s failed\n%s%s" % (suite, name, run.stdout, run.stderr))


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


def check_outbox(server, out):
    """The report sent again through the program's windows: once, logged in, over TLS, whole."""
    if len(server.sessions) != 1 or len(server.messages()) != 1:
        fail("outbox: %d sessions, %d messages" % (len(server.sessions), len(server.messages())))
    session = server.sessions[0]
    if session.logins != [("PLAIN", "jan@example.nl", "geheim wachtwoord", True)]:
        fail("outbox logins %r" % session.logins)
    for command, on in session.commands:
        if command.upper().startswith(("AUTH", "MAIL", "RCPT", "DATA")) and not on:
            fail("outbox: %r was sent before TLS" % command)
    mail_from, recipients, data, tls = server.messages()[0]
    if not tls or mail_from != "jan@example.nl" or recipients != ["helpdesk@brantel.nl"]:
        fail("outbox envelope %r %r, TLS %r" % (mail_from, recipients, tls))
    msg = email.message_from_bytes(data, policy=email.policy.default)
    parts = [p for p in msg.walk() if p.get_filename() == "CASE.ZIP"]
    if len(parts) != 1:
        fail("outbox: no CASE.ZIP in the message")
    folder = os.path.join(out, "program", "Reports", "Kasboek", "Report01")
    with zipfile.ZipFile(io.BytesIO(parts[0].get_payload(decode=True))) as archive:
        if archive.testzip() is not None:
            fail("outbox: CASE.ZIP is damaged")
        for name in ("CASE.RTF", "scherm.txt"):
            if archive.read(name) != open(os.path.join(folder, name), "rb").read():
                fail("outbox: %s in CASE.ZIP differs from the stored report" % name)
    ini = configparser.ConfigParser(interpolation=None, strict=False)
    ini.optionxform = str
    ini.read_string(open(os.path.join(folder, "CASE.INI"), encoding="cp1252").read())
    dispatch = ini["Verzending"]
    if dispatch["Status"] != "Verzonden" or not dispatch["Antwoord"].startswith("250 2.0.0 queued") or not dispatch["Tijd"]:
        fail("outbox: the report is marked %r" % dict(dispatch))


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
            "outbox": SecureSmtpServer("starttls", certificate, key, ("PLAIN", "LOGIN"), ACCOUNT),
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

            run_tests(build, env, "TheUserSetsTheServerAndSendsTheWaitingReport", 1, "test_mainform", "SecureOutbox")
            check_outbox(servers["outbox"], out)
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
          "wrong-password sessions carried nothing; the waiting report went once through the program's windows")


main()
