#!/usr/bin/env python3
"""Downloaded setups signed with certificates of our own making (openssl) by a signer we did not
write (osslsigncode), judged by the program's signature check (SignedSetups test of test_services).
osslsigncode's own verification confirms that each file is what the test takes it for.
   usage: signed_setups.py <build-folder>"""
import os
import shutil
import subprocess
import sys
import tempfile


def fail(message):
    print("FAIL: " + message)
    sys.exit(1)


def run(*command, cwd=None):
    done = subprocess.run(command, cwd=cwd, capture_output=True, text=True)
    if done.returncode != 0:
        fail(" ".join(command) + "\n" + done.stdout + done.stderr)
    return done


def make_certificates(pki):
    """A maker's root, the maker's code-signing certificate, and the wrong ones."""
    def request(name, subject):
        run("openssl", "req", "-newkey", "rsa:2048", "-nodes", "-keyout", name + ".key", "-out", name + ".csr",
            "-subj", subject, cwd=pki)

    def issue(name, usage, *validity):
        with open(os.path.join(pki, name + ".ext"), "w") as ext:
            ext.write("basicConstraints=CA:FALSE\nkeyUsage=critical,digitalSignature\nextendedKeyUsage=%s\n" % usage)
        run("openssl", "ca", "-config", "ca.cnf", "-batch", "-notext", "-cert", "ca.pem", "-keyfile", "ca.key",
            "-in", name + ".csr", "-out", name + ".pem", "-extfile", name + ".ext", *validity, cwd=pki)

    # "openssl ca" issues with any validity, also one long past.
    os.makedirs(os.path.join(pki, "db"))
    open(os.path.join(pki, "db", "index.txt"), "w").close()
    with open(os.path.join(pki, "db", "serial"), "w") as serial:
        serial.write("1000\n")
    with open(os.path.join(pki, "ca.cnf"), "w") as cnf:
        cnf.write("[ca]\ndefault_ca=c\n[c]\ndatabase=db/index.txt\nserial=db/serial\nnew_certs_dir=db\n"
                  "default_md=sha256\npolicy=any\nunique_subject=no\n[any]\ncommonName=supplied\n"
                  "organizationName=optional\n")
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "ca.key", "-out", "ca.pem",
        "-days", "36500", "-subj", "/CN=Brantel Test Root", "-addext", "basicConstraints=critical,CA:TRUE",
        "-addext", "keyUsage=critical,keyCertSign,cRLSign", cwd=pki)
    run("openssl", "x509", "-in", "ca.pem", "-outform", "der", "-out", "ca.der", cwd=pki)
    request("maker", "/CN=Brantel B.V./O=Brantel")
    issue("maker", "codeSigning", "-days", "36500")
    request("expired", "/CN=Verlopen B.V.")
    issue("expired", "codeSigning", "-startdate", "20010101000000Z", "-enddate", "20020101000000Z")
    request("webserver", "/CN=www.brantel.nl")
    issue("webserver", "serverAuth", "-days", "36500")
    run("openssl", "req", "-x509", "-newkey", "rsa:2048", "-nodes", "-keyout", "stranger.key", "-out",
        "stranger.pem", "-days", "36500", "-subj", "/CN=Nep Uitgever", "-addext", "extendedKeyUsage=codeSigning", cwd=pki)


def sign(pki, certificate, source, target):
    run("osslsigncode", "sign", "-certs", os.path.join(pki, certificate + ".pem"),
        "-key", os.path.join(pki, certificate + ".key"), "-in", source, "-out", target)


def verifies(pki, path):
    done = subprocess.run(["osslsigncode", "verify", "-CAfile", os.path.join(pki, "ca.pem"), "-in", path],
                          capture_output=True, text=True)
    return done.returncode == 0


def main():
    build = os.path.abspath(sys.argv[1])
    for tool in ("openssl", "osslsigncode"):
        if not shutil.which(tool):
            print("SKIP: %s is not installed" % tool)
            sys.exit(77)
    program = os.path.join(build, "startuptimer.exe")  # any Windows program of ours will do
    with tempfile.TemporaryDirectory() as work:
        pki, setups = os.path.join(work, "pki"), os.path.join(work, "setups")
        os.makedirs(pki)
        os.makedirs(setups)
        make_certificates(pki)
        shutil.copy(pki + "/ca.der", setups)
        shutil.copy(program, os.path.join(setups, "unsigned.exe"))
        for name, certificate in (("signed", "maker"), ("stranger", "stranger"), ("expired", "expired"),
                                  ("webserver", "webserver")):
            sign(pki, certificate, program, os.path.join(setups, name + ".exe"))
        # One byte of the signed program's code changed after signing.
        with open(os.path.join(setups, "signed.exe"), "rb") as signed:
            altered = bytearray(signed.read())
        altered[0x1000] ^= 0xFF
        with open(os.path.join(setups, "altered.exe"), "wb") as out:
            out.write(altered)
        with open(os.path.join(setups, "text.exe"), "w") as text:
            text.write("Dit is geen programma.\r\n")

        if not verifies(pki, os.path.join(setups, "signed.exe")):
            fail("osslsigncode does not accept the maker's signature")
        for name in ("unsigned", "altered", "stranger"):
            if verifies(pki, os.path.join(setups, name + ".exe")):
                fail("osslsigncode accepts %s.exe" % name)

        env = dict(os.environ, BRAN_SIGNATURE_DIR="Z:" + setups.replace("/", "\\"))
        done = subprocess.run(["wine", os.path.join(build, "tests", "test_services.exe"),
                               "--gtest_filter=SignedSetups.*"], env=env, capture_output=True, text=True, timeout=240)
        if done.returncode != 0 or "[  PASSED  ] 1 test" not in done.stdout or "SKIPPED" in done.stdout:
            fail("SignedSetups failed\n" + done.stdout + done.stderr)
    print("signed, unsigned, altered and wrongly signed setups told apart")


main()
